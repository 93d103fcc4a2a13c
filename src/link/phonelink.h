#pragma once

#include "phonecharset.h"
#include "serialport.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <vector>

class QElapsedTimer;
class QEventLoop;

// The serial port to the phone and the one AT transaction through which
// every operation talks to it.
class PhoneLink : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kDefaultDeadline{20000};

    explicit PhoneLink(std::chrono::milliseconds deadline = kDefaultDeadline,
                       QObject *parent = nullptr);
    ~PhoneLink() override;

    // Opens the device at 19200 baud, 8N1, no flow control, and raises DTR
    // and RTS where the device has them. On failure returns false with the
    // reason in *why (when given) and leaves the port closed.
    bool open(const QString &device, QString *why = nullptr);
    void close();
    bool isOpen() const;

    // Sends "AT" + cmdat (trimmed) + CR and returns the cleaned answer: "OK",
    // "ERROR" or the information text. "ERROR" at once when the port is
    // closed. Resends on silence until the deadline has passed, 101 sends in
    // all. Throws LinkFailure when the port fails (after closing it and
    // emitting lost()), LinkCancelled after cancel().
    QString IOP(const QString &cmdat);

    // The set the phonebook's texts travel in, chosen by the handshake;
    // Windows-1252 single bytes again at every opening of the port.
    PhoneCharset charset() const { return m_charset; }
    void setCharset(const PhoneCharset &charset) { m_charset = charset; }
    // The final result code that ended the last transaction ("OK", "ERROR",
    // "+CME ERROR: 22"), for the caller that must tell one error from
    // another. Empty when it got none: the port was closed before or during
    // the call, or the phone stayed silent until the deadline.
    QString lastFinalResultCode() const { return m_lastFinalResultCode; }

    // Makes the transaction that is waiting give up with LinkCancelled; the
    // next one runs as usual (the program still resets the phone as it
    // ends). Without a waiting transaction it does nothing.
    void cancel();

signals:
    // The port failed and has been closed.
    void lost(const QString &why);
    // One frame written to the port (for the benchmarks and the log).
    void frameSent(const QByteArray &frame);

private:
    void closePort();
    void onPortFailure(const QString &why);
    void dropFailedPort(quint64 session);
    [[noreturn]] void fail(const QString &why);
    void send(const QByteArray &frame);
    bool awaitFinalResult(QByteArray &buffer, const QElapsedTimer &clock, quint64 session);
    void poll(QByteArray &buffer, quint64 session);
    void wakeWaits();

    SerialPort *m_port;
    std::chrono::milliseconds m_deadline;
    PhoneCharset m_charset;
    bool m_cancelled = false;
    bool m_opening = false;
    // Each opening of the port is a session, counted from 1; a transaction
    // that finds its session gone knows the port was closed while it waited,
    // and m_failedSession tells whether a failure closed it.
    quint64 m_session = 0;
    quint64 m_failedSession = 0;
    QString m_failure;
    QString m_lastFinalResultCode;
    // The waits of transactions in progress; nested handlers can stack them.
    std::vector<QEventLoop *> m_waits;
};
