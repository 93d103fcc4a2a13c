#pragma once

#include <QString>
#include <QStringList>

// How an attempt to open the serial port ended: the port opened, or the
// reason it did not, as far as the user can act on it.
enum class PortOpening {
    Opened,
    // Another program holds it: its lock, its exclusive open, a busy driver.
    Busy,
    // The user may not open the device.
    Forbidden,
    // No device behind the port number, or the device is gone.
    Absent,
    // Any other failure: the device is no serial port, its settings fail.
    Failed,
};

// Why the serial port of device could not be opened. Asks the system
// directly, without the serial port class, so that the answer is the same
// whichever class refused the device: the device is opened and closed at
// once on its own, and nothing is written to it.
PortOpening whyNotOpened(const QString &device);

// Where programs keep the UUCP lock files of serial ports (LCK..ttyUSB0).
inline const QStringList kLockFolders = {QStringLiteral("/var/lock"), QStringLiteral("/run/lock")};

// Whether a living process holds a lock file of device in lockFolders,
// named after the device as given or after the terminal it leads to. The
// serial port class honours only its own kind of lock file, and takes the
// older lock files of other programs (minicom and the like) for stale;
// never on Windows, which has no such files.
bool lockedByAnotherProgram(const QString &device, const QStringList &lockFolders = kLockFolders);
