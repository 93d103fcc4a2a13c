#include "phonelink.h"

#include "atanswer.h"
#include "linkfailure.h"
#include "singlebytecodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

const QByteArray kFramePrefix = QByteArrayLiteral("AT");
constexpr char kFrameEnd = '\r';
// The first send and a hundred resends.
constexpr int kMaxSends = 101;
const QString kGivenUp = QStringLiteral("\r\n") + AtAnswer::kError + QStringLiteral("\r\n");

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

bool PhoneLink::open(const QString &device, QString *why)
{
    closePort();
    m_cancelled = false;
    m_charset = PhoneCharset();
    if (device.isEmpty()) {
        if (why)
            *why = QStringLiteral("no serial device for this port number");
        return false;
    }
    m_port->setPortName(device);
    m_port->setBaudRate(SerialPort::Baud19200);
    m_port->setDataBits(SerialPort::Data8);
    m_port->setParity(SerialPort::NoParity);
    m_port->setStopBits(SerialPort::OneStop);
    m_port->setFlowControl(SerialPort::NoFlowControl);
    m_opening = true;
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_opening = false;
        if (why)
            *why = m_port->errorString();
        return false;
    }
    // A device without modem control lines (a pseudo-terminal, some
    // adapters) refuses these; the line works without them all the same.
    m_port->setDataTerminalReady(true);
    m_port->setRequestToSend(true);
    m_port->clearError();
    m_opening = false;
    ++m_session;
    return true;
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
    if (m_waits.empty())
        return;
    m_cancelled = true;
    wakeWaits();
}

QString PhoneLink::IOP(const QString &cmdat)
{
    QElapsedTimer clock;
    clock.start();
    m_lastFinalResultCode.clear();
    if (!isOpen())
        return AtAnswer::kError;
    const quint64 session = m_session;
    const QByteArray frame =
        kFramePrefix + SingleByteCodec::encode(AtAnswer::trimSpaces(cmdat)) + kFrameEnd;
    for (int sends = 1;; ++sends) {
        send(frame);
        QByteArray buffer;
        if (awaitFinalResult(buffer, clock, session)) {
            const QString answer = SingleByteCodec::decode(buffer);
            // A port closed during the wait leaves the answer poll() made up.
            const bool fromPhone = m_session == session && isOpen();
            m_lastFinalResultCode = fromPhone ? AtAnswer::finalResultCode(answer) : QString();
            return AtAnswer::clean(answer);
        }
        if (sends == kMaxSends) {
            // A handler nested in the wait may have set it meanwhile.
            m_lastFinalResultCode.clear();
            return AtAnswer::clean(kGivenUp);
        }
    }
}

void PhoneLink::send(const QByteArray &frame)
{
    // Whatever is still waiting belongs to an earlier exchange (a late
    // answer, a stray code); taken as this answer it would shift every
    // answer after it by one command.
    m_port->clear(SerialPort::Input);
    m_port->readAll();
    if (m_port->write(frame) != frame.size())
        fail(m_port->errorString());
    m_port->flush();
    emit frameSent(frame);
}

// True when the answer is complete, false when the attempt has timed out.
// The deadline runs from the start of the call, so once it has passed every
// attempt polls once and gives up.
bool PhoneLink::awaitFinalResult(QByteArray &buffer, const QElapsedTimer &clock, quint64 session)
{
    const qint64 deadline = m_deadline.count();
    for (;;) {
        QCoreApplication::processEvents();
        poll(buffer, session);
        if (AtAnswer::finalResult(SingleByteCodec::decode(buffer)) != AtAnswer::FinalResult::None)
            return true;
        const qint64 remaining = deadline - clock.elapsed();
        if (remaining <= 0)
            return false;

        QEventLoop wait;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, &wait, &QEventLoop::quit);
        connect(m_port, &SerialPort::readyRead, &wait, &QEventLoop::quit);
        connect(m_port, &SerialPort::errorOccurred, &wait, &QEventLoop::quit);
        timer.start(static_cast<int>(remaining));
        m_waits.push_back(&wait);
        wait.exec();
        m_waits.pop_back();
    }
}

// Ends the transaction when the port went away or the user gave up while
// it waited, then collects what has arrived.
void PhoneLink::poll(QByteArray &buffer, quint64 session)
{
    if (m_session != session || !m_port->isOpen()) {
        // Closed under us: by a failure, or by a handler that ran during the
        // wait (the user closing the port). The latter is no link failure;
        // the transaction ends as it would had the port been closed first.
        if (m_failedSession == session)
            throw LinkFailure(m_failure.toStdString());
        buffer = kGivenUp.toLatin1();
        return;
    }
    if (m_failedSession == session)
        fail(m_failure);
    if (m_cancelled) {
        m_cancelled = false;
        throw LinkCancelled();
    }
    buffer += m_port->readAll();
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
    throw LinkFailure(why.toStdString());
}

void PhoneLink::closePort()
{
    if (!m_port->isOpen())
        return;
    m_port->close();
    wakeWaits();
}

void PhoneLink::wakeWaits()
{
    for (QEventLoop *wait : m_waits)
        wait->quit();
}
