// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedphone.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

ScriptedPhone::~ScriptedPhone()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    wake();
    if (m_thread.joinable())
        m_thread.join();
    for (int fd : m_wake) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool ScriptedPhone::start()
{
    if (!m_pty.open() || ::pipe2(m_wake, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    m_thread = std::thread([this] { serve(); });
    return true;
}

void ScriptedPhone::setResponder(Responder responder)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_responder = std::move(responder);
}

void ScriptedPhone::answerEachWith(const QByteArray &answer)
{
    setResponder([this, answer](const QByteArray &) { send(answer); });
}

void ScriptedPhone::send(const QByteArray &bytes)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pty.isOpen() && !bytes.isEmpty())
        (void)::write(m_pty.masterFd(), bytes.constData(), static_cast<size_t>(bytes.size()));
}

void ScriptedPhone::sendLater(int ms, const QByteArray &bytes)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_later.emplace(Clock::now() + std::chrono::milliseconds(ms), bytes);
    }
    wake();
}

void ScriptedPhone::hangUp()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_later.clear();
        m_pty.close();
    }
    wake();
}

QByteArray ScriptedPhone::received()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

QList<QByteArray> ScriptedPhone::frames()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
}

void ScriptedPhone::wake()
{
    if (m_wake[1] >= 0)
        (void)::write(m_wake[1], "w", 1);
}

void ScriptedPhone::serve()
{
    for (;;) {
        int timeout = -1;
        pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {-1, POLLIN, 0}};
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping)
                return;
            if (m_pty.isOpen())
                fds[1].fd = m_pty.masterFd();
            if (!m_later.empty()) {
                const auto due = std::chrono::duration_cast<std::chrono::milliseconds>(m_later.begin()->first
                                                                                       - Clock::now());
                timeout = int(std::max<long long>(0, due.count()));
            }
        }
        ::poll(fds, 2, timeout);
        char drain[64];
        while (::read(m_wake[0], drain, sizeof drain) > 0) {
        }

        QList<QByteArray> frames;
        QList<QByteArray> due;
        Responder responder;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_pty.isOpen() && (fds[1].revents & POLLIN))
                frames = readFrames();
            while (!m_later.empty() && m_later.begin()->first <= Clock::now()) {
                due.append(m_later.begin()->second);
                m_later.erase(m_later.begin());
            }
            responder = m_responder;
        }
        for (const QByteArray &bytes : due)
            send(bytes);
        for (const QByteArray &frame : frames) {
            if (responder)
                responder(frame);
        }
    }
}

QList<QByteArray> ScriptedPhone::readFrames()
{
    QList<QByteArray> frames;
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(m_pty.masterFd(), chunk, sizeof chunk);
        if (n <= 0)
            break;
        m_received.append(chunk, n);
        m_partial.append(chunk, n);
    }
    for (qsizetype end; (end = m_partial.indexOf('\r')) >= 0;) {
        frames.append(m_partial.left(end + 1));
        m_partial.remove(0, end + 1);
    }
    m_frames += frames;
    return frames;
}
