// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "atreply.h"
#include "phonecharset.h"
#include "portopening.h"
#include "serialport.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

class DeviceAlias;

// The serial port to the phone and the one AT transaction through which
// every operation talks to it. A link lives on one thread, the phone's, and
// waits for the phone there with blocking reads; only cancel() may be
// called from another thread.
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

    // Sends "AT" + cmdat (trimmed of spaces) + CR and returns the phone's
    // reply, the bytes as received, framed for the command (AnswerFraming):
    // its own lines, and every other line set aside. On a closed port it
    // returns PortClosed at once. The deadline is one of silence, and a
    // phone silent half of it is sent the frame once more (AnswerDeadline);
    // NoAnswer when it has run out. When the port fails the link closes it
    // and emits lost() before the reply, PortFailed, comes back.
    AtReply IOP(const QByteArray &cmdat);

    // The set the phonebook's texts travel in, chosen by the handshake;
    // Windows-1252 single bytes again at every opening of the port.
    PhoneCharset charset() const { return m_charset; }
    void setCharset(const PhoneCharset &charset) { m_charset = charset; }
    // The set the phone had before the handshake moved it, where the phone
    // offers it: some phones read UCS2 well but write it wrongly, and their
    // own set carries the names it can hold. Nullopt when not moved.
    std::optional<PhoneCharset> homeCharset() const { return m_homeCharset; }
    void setHomeCharset(const PhoneCharset &charset) { m_homeCharset = charset; }

    // From any thread: the transaction that waits comes back Cancelled
    // within a few milliseconds, and so does every later one, unsent,
    // until resume(). The port stays open.
    void cancel() { m_cancelled = true; }
    void resume() { m_cancelled = false; }
    bool isCancelled() const { return m_cancelled; }

signals:
    // The port failed and has been closed.
    void lost(const QString &why);
    // One frame written to the port (for the benchmarks and the log).
    void frameSent(const QByteArray &frame);

private:
    bool send(const QByteArray &frame);
    // Waits until the time given or until bytes arrive; false when the port
    // failed.
    bool waitUntil(std::chrono::steady_clock::time_point until);
    void fail(const QString &why);
    void closePort();

    SerialPort *m_port;
    // The path the port opened by when a lock file it may not remove names
    // a finished process; null otherwise.
    std::unique_ptr<DeviceAlias> m_alias;
    std::chrono::milliseconds m_deadline;
    PhoneCharset m_charset;
    std::optional<PhoneCharset> m_homeCharset;
    std::atomic<bool> m_cancelled{false};
    bool m_opening = false;
    bool m_transacting = false;
};
