#include "phonelink.h"

#include "answerdeadline.h"
#include "answerframing.h"
#include "answerprogress.h"
#include "atanswer.h"
#include "atcommands.h"
#include "devicealias.h"
#include "singlebytecodec.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

namespace {

const QByteArray kFramePrefix = AtCommands::kAttention.toLatin1();
constexpr char kFrameEnd = '\r';

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
    connect(m_port, &SerialPort::errorOccurred, this, [this](SerialPort::SerialPortError error) {
        if (!m_opening && isLinkFailure(error))
            onPortFailure(m_port->errorString());
    });
}

PhoneLink::~PhoneLink()
{
    closePort();
}

PortOpening PhoneLink::open(const QString &device, QString *why)
{
    closePort();
    m_cancelled = false;
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
    ++m_session;
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

void PhoneLink::cancel()
{
    if (m_transactions == 0)
        return;
    m_cancelled = true;
    wakeWaits();
}

AtReply PhoneLink::transact(const QString &cmdat)
{
    using Clock = AnswerDeadline::Clock;
    if (!isOpen())
        return replyOf(AtReply::Final::PortClosed);
    ++m_transactions;
    const auto done = qScopeGuard([this] { --m_transactions; });
    const quint64 session = m_session;
    const QString command = AtAnswer::trimSpaces(cmdat);
    const QByteArray frame = kFramePrefix + SingleByteCodec::encode(command) + kFrameEnd;
    const AnswerFraming framing(command);
    if (!send(frame))
        return replyOf(AtReply::Final::PortFailed);
    AnswerDeadline deadline(m_deadline, Clock::now());
    QByteArray buffer;
    AnswerProgress progress(framing);
    qsizetype heard = 0;
    for (;;) {
        QCoreApplication::processEvents();
        if (const std::optional<AtReply::Final> ended = poll(buffer, session))
            return replyOf(*ended);
        const QString answer = SingleByteCodec::decode(buffer);
        if (AtAnswer::finalResult(answer) != AtAnswer::FinalResult::None)
            return AtAnswer::reply(answer, framing);
        const Clock::time_point now = Clock::now();
        const qsizetype owned = progress.measure(answer);
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
            waitUntil(next.until);
            break;
        }
    }
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
    if (m_port->write(frame) != frame.size()) {
        fail(m_port->errorString());
        return false;
    }
    m_port->flush();
    emit frameSent(frame);
    return true;
}

// Sleeps in the event loop until the time given, or until bytes arrive,
// the port fails or the user gives up.
void PhoneLink::waitUntil(std::chrono::steady_clock::time_point until)
{
    const auto remaining =
        std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (remaining.count() <= 0)
        return;
    QEventLoop wait;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &wait, &QEventLoop::quit);
    connect(m_port, &SerialPort::readyRead, &wait, &QEventLoop::quit);
    connect(m_port, &SerialPort::errorOccurred, &wait, &QEventLoop::quit);
    timer.start(remaining);
    m_waits.push_back(&wait);
    wait.exec();
    m_waits.pop_back();
}

// How the transaction ends when the port went away or the user gave up
// while it waited; otherwise nullopt, with what has arrived collected.
std::optional<AtReply::Final> PhoneLink::poll(QByteArray &buffer, quint64 session)
{
    if (m_session != session || !m_port->isOpen()) {
        // Closed under us: by a failure, or by a handler that ran during the
        // wait (the user closing the port). The latter is no link failure;
        // the transaction ends as it would had the port been closed first.
        return m_failedSession == session ? AtReply::Final::PortFailed : AtReply::Final::PortClosed;
    }
    if (m_failedSession == session) {
        fail(m_failure);
        return AtReply::Final::PortFailed;
    }
    if (m_cancelled) {
        m_cancelled = false;
        return AtReply::Final::Cancelled;
    }
    buffer += m_port->readAll();
    return std::nullopt;
}

void PhoneLink::onPortFailure(const QString &why)
{
    if (!m_port->isOpen() || m_failedSession == m_session)
        return;
    m_failedSession = m_session;
    m_failure = why;
    wakeWaits();
    // Not closed here: the port is still inside its own notification.
    const quint64 session = m_session;
    QMetaObject::invokeMethod(this, [this, session] { dropFailedPort(session); }, Qt::QueuedConnection);
}

void PhoneLink::dropFailedPort(quint64 session)
{
    if (m_session != session || !m_port->isOpen())
        return;
    closePort();
    emit lost(m_failure);
}

void PhoneLink::fail(const QString &why)
{
    m_failedSession = m_session;
    m_failure = why;
    closePort();
    emit lost(why);
}

void PhoneLink::closePort()
{
    if (!m_port->isOpen())
        return;
    m_port->close();
    m_alias.reset();
    wakeWaits();
}

void PhoneLink::wakeWaits()
{
    for (QEventLoop *wait : m_waits)
        wait->quit();
}
