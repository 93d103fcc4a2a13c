// SPDX-License-Identifier: GPL-3.0-or-later
#include "portopening.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

PortOpening whyNotOpened(const QString &device)
{
    if (device.isEmpty())
        return PortOpening::Absent;
    // COM ports above 9 open only through the device namespace.
    const QString path = QStringLiteral("\\\\.\\") + device;
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()),
                                      GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return PortOpening::Failed;
    }
    switch (GetLastError()) {
    // A COM port opens for one handle at a time: access is denied to every
    // other program while one holds it.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return PortOpening::Busy;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return PortOpening::Absent;
    default:
        return PortOpening::Failed;
    }
}

PortLock clearStaleLocks(const QString &, const QStringList &)
{
    return PortLock::Free;
}

#else

PortOpening whyNotOpened(const QString &device)
{
    if (device.isEmpty())
        return PortOpening::Absent;
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        // The device opens for us: what refused it is the lock another
        // program holds on it, when it is a terminal at all.
        const bool terminal = ::isatty(fd) == 1;
        ::close(fd);
        return terminal ? PortOpening::Busy : PortOpening::Failed;
    }
    switch (errno) {
    // Another program's exclusive open (TIOCEXCL), or a driver in use.
    case EBUSY:
        return PortOpening::Busy;
    case EACCES:
    case EPERM:
        return PortOpening::Forbidden;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return PortOpening::Absent;
    default:
        return PortOpening::Failed;
    }
}

namespace {

const QString kDevFolder = QStringLiteral("/dev/");

// A lock file's name: the device's path under /dev, with its slashes
// turned into underscores.
QString lockName(const QString &device)
{
    QString name = device.startsWith(kDevFolder) ? device.mid(kDevFolder.size()) : device;
    return QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
}

// The process a lock file names on its first line, in ASCII, padded or
// not; 0 when it names none.
qint64 lockHolder(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const qint64 pid = file.readLine(32).trimmed().toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

bool isAlive(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}

PortLock clearStaleLocks(const QString &device, const QStringList &lockFolders)
{
    if (device.isEmpty())
        return PortLock::Free;
    QStringList names = {lockName(device)};
    const QString terminal = QFileInfo(device).canonicalFilePath();
    if (!terminal.isEmpty() && !names.contains(lockName(terminal)))
        names.append(lockName(terminal));
    PortLock found = PortLock::Free;
    for (const QString &folder : lockFolders) {
        for (const QString &name : names) {
            const QString path = QDir(folder).filePath(name);
            const qint64 pid = lockHolder(path);
            if (pid == 0)
                continue;
            if (isAlive(pid))
                return PortLock::Held;
            if (!QFile::remove(path) && QFile::exists(path))
                found = PortLock::StaleKept;
        }
    }
    return found;
}

#endif
