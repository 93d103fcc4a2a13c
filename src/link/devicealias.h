// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A second path to a serial device: a link in a folder of this program's
// own, which goes with the object. The serial port class names its lock
// file after the path it opens, so through the alias it takes a lock of
// its own instead of the device's: the way past a lock file that names a
// finished process when the user may not remove it. The exclusive open
// still keeps every other program off the device.
class DeviceAlias {
public:
    // Null when the system refuses the folder or the link.
    static std::unique_ptr<DeviceAlias> to(const QString &device);

    const QString &path() const { return m_path; }

private:
    DeviceAlias() = default;

    QTemporaryDir m_folder;
    QString m_path;
};
