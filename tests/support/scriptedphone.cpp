#include "scriptedphone.h"

#include <QSocketNotifier>
#include <QTimer>

#include <unistd.h>

ScriptedPhone::ScriptedPhone() = default;
ScriptedPhone::~ScriptedPhone() = default;

bool ScriptedPhone::start()
{
    if (!m_pty.open())
        return false;
    m_notifier = std::make_unique<QSocketNotifier>(m_pty.masterFd(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &ScriptedPhone::readFrames);
    return true;
}

void ScriptedPhone::answerEachWith(const QByteArray &answer)
{
    setResponder([this, answer](const QByteArray &) { send(answer); });
}

void ScriptedPhone::send(const QByteArray &bytes)
{
    if (m_pty.isOpen() && !bytes.isEmpty())
        (void)::write(m_pty.masterFd(), bytes.constData(), static_cast<size_t>(bytes.size()));
}

void ScriptedPhone::sendLater(int ms, const QByteArray &bytes)
{
    QTimer::singleShot(ms, this, [this, bytes] { send(bytes); });
}

void ScriptedPhone::hangUp()
{
    m_notifier.reset();
    m_pty.close();
}

QByteArray ScriptedPhone::received()
{
    readFrames();
    return m_received;
}

QList<QByteArray> ScriptedPhone::frames()
{
    readFrames();
    return m_frames;
}

void ScriptedPhone::readFrames()
{
    char chunk[512];
    while (m_pty.isOpen()) {
        const ssize_t n = ::read(m_pty.masterFd(), chunk, sizeof chunk);
        if (n <= 0)
            return;
        m_received.append(chunk, n);
        m_partial.append(chunk, n);
        int end;
        while (m_pty.isOpen() && (end = m_partial.indexOf('\r')) >= 0) {
            const QByteArray frame = m_partial.left(end + 1);
            m_partial.remove(0, end + 1);
            m_frames.append(frame);
            if (m_responder)
                m_responder(frame);
        }
    }
}
