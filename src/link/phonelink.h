#pragma once

#include "atreply.h"
#include "phonecharset.h"
#include "portopening.h"
#include "serialport.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class DeviceAlias;
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
    // and RTS where the device has them, for this program alone while it is
    // open. On failure returns the reason, with the system's words in *why
    // (when given), and leaves the port closed.
    PortOpening open(const QString &device, QString *why = nullptr);
    void close();
    bool isOpen() const;

    // Sends "AT" + cmdat (trimmed) + CR and returns the phone's reply, framed
    // for the command (AnswerFraming): its own lines, and every other line
    // set aside. On a closed port it returns PortClosed at once. The deadline
    // is one of silence, and a phone silent half of it is sent the frame
    // once more (AnswerDeadline); NoAnswer when it has run out. When the port
    // fails the link closes it and emits lost() before the reply,
    // PortFailed, comes back.
    AtReply transact(const QString &cmdat);
    // transact(cmdat).text(): "OK", "ERROR" or the information text, for a
    // caller that needs the answer only as text.
    QString IOP(const QString &cmdat);

    // The set the phonebook's texts travel in, chosen by the handshake;
    // Windows-1252 single bytes again at every opening of the port.
    PhoneCharset charset() const { return m_charset; }
    void setCharset(const PhoneCharset &charset) { m_charset = charset; }
    // The set the phone had before the handshake moved it, where the phone
    // offers it: some phones read UCS2 well but write it wrongly, and their
    // own set carries the names it can hold. Nullopt when not moved.
    std::optional<PhoneCharset> homeCharset() const { return m_homeCharset; }
    void setHomeCharset(const PhoneCharset &charset) { m_homeCharset = charset; }

    // Makes the transaction in progress come back Cancelled, whether it is
    // waiting or handling the window's events between its waits; the next
    // one runs as usual (the program still resets the phone as it ends).
    // Without a transaction in progress it does nothing.
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
    void fail(const QString &why);
    bool send(const QByteArray &frame);
    void waitUntil(std::chrono::steady_clock::time_point until);
    std::optional<AtReply::Final> poll(QByteArray &buffer, quint64 session);
    void wakeWaits();

    SerialPort *m_port;
    // The path the port opened by when a lock file it may not remove names
    // a finished process; null otherwise.
    std::unique_ptr<DeviceAlias> m_alias;
    std::chrono::milliseconds m_deadline;
    PhoneCharset m_charset;
    std::optional<PhoneCharset> m_homeCharset;
    bool m_cancelled = false;
    // Transactions in progress; nested handlers can stack them.
    int m_transactions = 0;
    bool m_opening = false;
    // Each opening of the port is a session, counted from 1; a transaction
    // that finds its session gone knows the port was closed while it waited,
    // and m_failedSession tells whether a failure closed it.
    quint64 m_session = 0;
    quint64 m_failedSession = 0;
    QString m_failure;
    // The waits of transactions in progress; nested handlers can stack them.
    std::vector<QEventLoop *> m_waits;
};
