// SPDX-License-Identifier: GPL-3.0-or-later
#include "pseudoterminal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QString kFolderTemplate = QStringLiteral("veldrano-phone-XXXXXX");
const QString kLinkName = QStringLiteral("port");

} // namespace

PseudoTerminal::PseudoTerminal() = default;

PseudoTerminal::~PseudoTerminal()
{
    close();
}

bool PseudoTerminal::open(QString *why)
{
    close();
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B19200);
    cfsetospeed(&raw, B19200);
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        if (why)
            *why = QString::fromLocal8Bit(std::strerror(errno));
        m_master = m_slave = -1;
        return false;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);

    m_folder = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(kFolderTemplate));
    const QString link = m_folder->filePath(kLinkName);
    if (!m_folder->isValid() || !QFile::link(QString::fromLocal8Bit(name), link)) {
        if (why)
            *why = QStringLiteral("cannot make %1").arg(link);
        close();
        return false;
    }
    m_slavePath = link;
    return true;
}

void PseudoTerminal::close()
{
    // The link goes first, so that no one opens the slave on its way out.
    m_folder.reset();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_master = m_slave = -1;
}

int PseudoTerminal::unreadCount() const
{
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, FIONREAD, &count) != 0)
        return 0;
    return count;
}
