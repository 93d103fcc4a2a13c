// SPDX-License-Identifier: GPL-3.0-or-later
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

// What the UUCP lock files of a serial device leave of the way to it.
enum class PortLock {
    // No lock file, or only ones that named a finished process, now removed.
    Free,
    // A running process holds the device.
    Held,
    // A lock file names a finished process and this user may not remove it
    // (a run as root that crashed left it): the device is free all the same.
    StaleKept,
};

// The lock files of device in lockFolders, named after the device as given
// or after the terminal it leads to, with those that name a finished
// process removed where the system lets us. The serial port class honours
// only its own kind of lock file, and takes the older lock files of other
// programs (minicom and the like) for stale; nor does it open past a stale
// one it cannot remove. Always Free on Windows, which has no such files.
PortLock clearStaleLocks(const QString &device, const QStringList &lockFolders = kLockFolders);
