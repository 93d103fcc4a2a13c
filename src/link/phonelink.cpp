// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonelink.h"

#include "answerdeadline.h"
#include "answerframing.h"
#include "answerprogress.h"
#include "atanswer.h"
#include "atcommands.h"
#include "devicealias.h"
#include "textrules.h"

#include <QScopeGuard>

#include <algorithm>

namespace {

constexpr char kFrameEnd = '\r';
// A cancel is seen this soon while the phone is silent.
constexpr std::chrono::milliseconds kWaitSlice{50};

AtReply replyOf(AtReply::Final final)
{
    AtReply reply;
    reply.final = final;
    return reply;
}

bool isLinkFailure(SerialPort::SerialPortError error)
{
    return error == SerialPort::ResourceError || error == SerialPort::WriteError
        || error == SerialPort::ReadError;
}

} // namespace

PhoneLink::PhoneLink(std::chrono::milliseconds deadline, QObject *parent)
    : QObject(parent), m_port(new SerialPort(this)), m_deadline(deadline)
{
    // Between transactions the phone's thread runs its event loop, and the
    // port reports there an adapter pulled out; within one the wait sees
    // it itself.
    connect(m_port, &SerialPort::errorOccurred, this, [this](SerialPort::SerialPortError error) {
        if (m_opening || m_transacting || !isLinkFailure(error))
            return;
        // Not closed inside the port's own notification.
        const QString why = m_port->errorString();
        QMetaObject::invokeMethod(
            this, [this, why] { if (m_port->isOpen()) fail(why); }, Qt::QueuedConnection);
    });
}

PhoneLink::~PhoneLink()
{
    closePort();
}

PortOpening PhoneLink::open(const QString &device, QString *why)
{
    closePort();
    m_charset = PhoneCharset();
    m_homeCharset.reset();
    if (device.isEmpty()) {
        if (why)
            *why = QStringLiteral("no serial device for this port number");
        return PortOpening::Absent;
    }
    m_port->setPortName(device);
    m_port->setBaudRate(SerialPort::Baud19200);
    m_port->setDataBits(SerialPort::Data8);
    m_port->setParity(SerialPort::NoParity);
    m_port->setStopBits(SerialPort::OneStop);
    m_port->setFlowControl(SerialPort::NoFlowControl);
    // Another program's lock file, which the open below would take for
    // stale: that program is driving the phone. A finished program's lock
    // keeps nobody out; where it stays, the port opens by a path of its own.
    switch (clearStaleLocks(device)) {
    case PortLock::Held:
        if (why)
            *why = QStringLiteral("the port's lock file names a running process");
        return PortOpening::Busy;
    case PortLock::StaleKept:
        m_alias = DeviceAlias::to(device);
        if (m_alias)
            m_port->setPortName(m_alias->path());
        break;
    case PortLock::Free:
        break;
    }
    m_opening = true;
    // The port is this program's alone while it is open, so that a second
    // copy never talks to a phone the first is driving. On Unix the open
    // takes the UUCP lock file (LCK..name in /var/lock or /run/lock), which
    // other programs honour and which refuses a second opening while its
    // holder lives, and sets TIOCEXCL, which refuses any further open of the
    // terminal to all but the superuser; Windows opens a COM port for one
    // handle only.
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_opening = false;
        m_alias.reset();
        if (why)
            *why = m_port->errorString();
        return whyNotOpened(device);
    }
    // A device without modem control lines (a pseudo-terminal, some
    // adapters) refuses these; the line works without them all the same.
    m_port->setDataTerminalReady(true);
    m_port->setRequestToSend(true);
    m_port->clearError();
    m_opening = false;
    return PortOpening::Opened;
}

void PhoneLink::close()
{
    closePort();
}

bool PhoneLink::isOpen() const
{
    return m_port->isOpen();
}

AtReply PhoneLink::IOP(const QByteArray &cmdat)
{
    using Clock = AnswerDeadline::Clock;
    if (!isOpen())
        return replyOf(AtReply::Final::PortClosed);
    if (m_cancelled)
        return replyOf(AtReply::Final::Cancelled);
    m_transacting = true;
    const auto done = qScopeGuard([this] { m_transacting = false; });
    const QByteArray command = TextRules::trimSpaces(cmdat);
    const QByteArray frame = AtCommands::kAttention + command + kFrameEnd;
    const AnswerFraming framing(command);
    if (!send(frame))
        return replyOf(AtReply::Final::PortFailed);
    AnswerDeadline deadline(m_deadline, Clock::now());
    QByteArray buffer;
    AnswerProgress progress(framing);
    qsizetype heard = 0;
    for (;;) {
        if (m_cancelled)
            return replyOf(AtReply::Final::Cancelled);
        const QByteArray arrived = m_port->readAll();
        buffer += arrived;
        // A final result code ends with its line.
        if (arrived.contains('\n') && AtAnswer::finalResult(buffer) != AtAnswer::FinalResult::None)
            return AtAnswer::reply(buffer, framing);
        const Clock::time_point now = Clock::now();
        const qsizetype owned = progress.measure(buffer);
        if (owned > heard) {
            heard = owned;
            deadline.heard(now);
        }
        const AnswerDeadline::Next next = deadline.next(now);
        switch (next.step) {
        case AnswerDeadline::Step::GiveUp:
            return replyOf(AtReply::Final::NoAnswer);
        case AnswerDeadline::Step::Resend:
            if (!send(frame))
                return replyOf(AtReply::Final::PortFailed);
            deadline.resent(now);
            buffer.clear();
            progress = AnswerProgress(framing);
            break;
        case AnswerDeadline::Step::Wait:
            if (!waitUntil(next.until))
                return replyOf(AtReply::Final::PortFailed);
            break;
        }
    }
}

// False when the port failed: the link has closed it and emitted lost().
bool PhoneLink::send(const QByteArray &frame)
{
    // Whatever is still waiting belongs to an earlier exchange (a late
    // answer, a stray code); taken as this answer it would shift every
    // answer after it by one command.
    m_port->clear(SerialPort::Input);
    m_port->readAll();
    if (m_port->write(frame) != frame.size() || !m_port->waitForBytesWritten(int(m_deadline.count()))) {
        fail(m_port->errorString());
        return false;
    }
    emit frameSent(frame);
    return true;
}

bool PhoneLink::waitUntil(std::chrono::steady_clock::time_point until)
{
    const auto remaining =
        std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (remaining.count() <= 0)
        return true;
    if (m_port->waitForReadyRead(int(std::min(remaining, kWaitSlice).count()))
        || !isLinkFailure(m_port->error()))
        return true;
    fail(m_port->errorString());
    return false;
}

void PhoneLink::fail(const QString &why)
{
    closePort();
    emit lost(why);
}

void PhoneLink::closePort()
{
    m_port->close();
    m_alias.reset();
}
