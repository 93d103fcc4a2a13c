#include "phonelink.h"

#include "atanswer.h"
#include "atcommands.h"
#include "singlebytecodec.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {

const QByteArray kFramePrefix = AtCommands::kAttention.toLatin1();
constexpr char kFrameEnd = '\r';
// The first send and a hundred resends.
constexpr int kMaxSends = 101;
// A cancel is seen this soon while the phone is silent.
constexpr qint64 kWaitSliceMs = 50;

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
    m_port->close();
}

PortOpening PhoneLink::open(const QString &device, QString *why)
{
    m_port->close();
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
    // stale: that program is driving the phone.
    if (lockedByAnotherProgram(device)) {
        if (why)
            *why = QStringLiteral("the port's lock file names a running process");
        return PortOpening::Busy;
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
    m_port->close();
}

bool PhoneLink::isOpen() const
{
    return m_port->isOpen();
}

AtReply PhoneLink::transact(const QString &cmdat)
{
    QElapsedTimer clock;
    clock.start();
    if (!isOpen())
        return replyOf(AtReply::Final::PortClosed);
    if (m_cancelled)
        return replyOf(AtReply::Final::Cancelled);
    m_transacting = true;
    const QByteArray frame =
        kFramePrefix + SingleByteCodec::encode(AtAnswer::trimSpaces(cmdat)) + kFrameEnd;
    AtReply reply = replyOf(AtReply::Final::NoAnswer);
    for (int sends = 1; sends <= kMaxSends; ++sends) {
        if (!send(frame)) {
            reply = replyOf(AtReply::Final::PortFailed);
            break;
        }
        QByteArray buffer;
        const Wait wait = awaitFinalResult(buffer, clock);
        if (wait == Wait::TimedOut)
            continue;
        reply = wait == Wait::Answered ? AtAnswer::reply(SingleByteCodec::decode(buffer))
            : replyOf(wait == Wait::Failed ? AtReply::Final::PortFailed : AtReply::Final::Cancelled);
        break;
    }
    m_transacting = false;
    return reply;
}

QString PhoneLink::IOP(const QString &cmdat)
{
    return transact(cmdat).text();
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

// The deadline runs from the start of the call, so once it has passed every
// attempt looks once at what has arrived and gives up.
PhoneLink::Wait PhoneLink::awaitFinalResult(QByteArray &buffer, const QElapsedTimer &clock)
{
    for (;;) {
        if (m_cancelled)
            return Wait::Cancelled;
        buffer += m_port->readAll();
        if (AtAnswer::finalResult(SingleByteCodec::decode(buffer)) != AtAnswer::FinalResult::None)
            return Wait::Answered;
        const qint64 remaining = m_deadline.count() - clock.elapsed();
        if (remaining <= 0)
            return Wait::TimedOut;
        if (!m_port->waitForReadyRead(int(std::min(remaining, kWaitSliceMs))) && isLinkFailure(m_port->error())) {
            fail(m_port->errorString());
            return Wait::Failed;
        }
    }
}

void PhoneLink::fail(const QString &why)
{
    m_port->close();
    emit lost(why);
}
