#pragma once

#include <QObject>
#include <QString>

#include <chrono>

class QSerialPort;

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

    // Makes a transaction that is waiting give up with LinkCancelled, and
    // every later one until the link is reopened.
    void cancel();

signals:
    // The port failed and has been closed.
    void lost(const QString &why);
    // One frame written to the port (for the benchmarks and the log).
    void frameSent(const QByteArray &frame);

private:
    QSerialPort *m_port;
    std::chrono::milliseconds m_deadline;
    bool m_cancelled = false;
};
