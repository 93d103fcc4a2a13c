#include "portopening.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
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

#endif
