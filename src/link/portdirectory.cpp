// SPDX-License-Identifier: GPL-3.0-or-later
#include "portdirectory.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <array>

namespace {

// Groups in the order a phone is most likely found: its own USB modem
// interface, a USB cable adapter, a Bluetooth serial link.
const std::array<QString, 3> kPreferredPrefixes = {
    QStringLiteral("ttyACM"),
    QStringLiteral("ttyUSB"),
    QStringLiteral("rfcomm"),
};

int groupOf(const QString &device)
{
    const QString name = QFileInfo(device).fileName();
    for (std::size_t i = 0; i < kPreferredPrefixes.size(); ++i) {
        if (name.startsWith(kPreferredPrefixes[i]))
            return static_cast<int>(i);
    }
    return static_cast<int>(kPreferredPrefixes.size());
}

QStringView digitRun(const QString &text, int &pos)
{
    const int start = pos;
    while (pos < text.size() && text.at(pos).isDigit())
        ++pos;
    return QStringView(text).mid(start, pos - start);
}

// Runs of digits compare by value, so that ttyUSB2 comes before ttyUSB10.
int naturalCompare(const QString &a, const QString &b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            QStringView x = digitRun(a, i);
            QStringView y = digitRun(b, j);
            while (x.size() > 1 && x.front() == QLatin1Char('0'))
                x = x.mid(1);
            while (y.size() > 1 && y.front() == QLatin1Char('0'))
                y = y.mid(1);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y); c != 0)
                return c;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j) ? -1 : 1;
        ++i;
        ++j;
    }
    return (a.size() - i) - (b.size() - j);
}

QStringList systemSerialDevices()
{
    QStringList devices;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        devices.append(port.systemLocation());
    return devices;
}

} // namespace

PortDirectory::PortDirectory(const QStringList &givenPorts, const QString &demoDevice)
    : PortDirectory(givenPorts, demoDevice, systemSerialDevices())
{
}

PortDirectory::PortDirectory(const QStringList &givenPorts, const QString &demoDevice,
                             const QStringList &systemDevices)
    : m_devices(ordered(givenPorts, demoDevice, systemDevices))
{
}

QString PortDirectory::deviceFor(int comNumber) const
{
    if (comNumber < kFirstCom || comNumber > kLastCom)
        return QString();
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(comNumber);
#else
    return m_devices.value(comNumber - kFirstCom);
#endif
}

QStringList PortDirectory::ordered(const QStringList &givenPorts, const QString &demoDevice,
                                   const QStringList &systemDevices)
{
    QStringList system = systemDevices;
    std::sort(system.begin(), system.end(), [](const QString &a, const QString &b) {
        const int groupA = groupOf(a);
        const int groupB = groupOf(b);
        if (groupA != groupB)
            return groupA < groupB;
        const int byName = naturalCompare(QFileInfo(a).fileName(), QFileInfo(b).fileName());
        return byName != 0 ? byName < 0 : naturalCompare(a, b) < 0;
    });

    QStringList devices;
    const auto add = [&devices](const QString &device) {
        if (!device.isEmpty() && !devices.contains(device))
            devices.append(device);
    };
    for (const QString &device : givenPorts)
        add(device);
    add(demoDevice);
    for (const QString &device : system)
        add(device);
    return devices;
}
