// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Which serial device each COM number of the port selector stands for.
class PortDirectory {
public:
    static constexpr int kFirstCom = 1;
    static constexpr int kLastCom = 10;

    // givenPorts: the devices named on the command line, COM 1 onwards;
    // demoDevice: the simulated phone's device, or empty. The devices the
    // system reports follow them.
    PortDirectory(const QStringList &givenPorts, const QString &demoDevice);
    PortDirectory(const QStringList &givenPorts, const QString &demoDevice,
                  const QStringList &systemDevices);

    // The device of COM comNumber; empty when there is none.
    QString deviceFor(int comNumber) const;

    // The devices in COM order: the given ones, the simulated phone, then the
    // system's: USB modems, USB serial adapters, Bluetooth links, the rest,
    // each group in natural name order. A device named twice keeps its first
    // place.
    static QStringList ordered(const QStringList &givenPorts, const QString &demoDevice,
                               const QStringList &systemDevices);

private:
    QStringList m_devices;
};
