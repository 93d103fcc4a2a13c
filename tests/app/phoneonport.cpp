// SPDX-License-Identifier: GPL-3.0-or-later
#include "phoneonport.h"

PhoneOnPort::PhoneOnPort(std::chrono::milliseconds deadline, const QString &charset)
    : phone(charset)
    , worker(std::make_unique<PhoneWorker>(deadline))
{
}

PhoneOnPort::~PhoneOnPort()
{
    worker.reset();
    phone.stop();
}

bool PhoneOnPort::startPhone(QString *why)
{
    if (!phone.start(why))
        return false;
    ports = std::make_unique<PortDirectory>(QStringList{phone.devicePath()} + otherPorts, QString(), QStringList());
    return true;
}

QStringList PhoneOnPort::newCommands()
{
    const QStringList all = phone.commands();
    QStringList fresh;
    for (int i = m_commandsSeen; i < all.size(); ++i)
        fresh.append(all.at(i).mid(2));
    m_commandsSeen = int(all.size());
    return fresh;
}
