// SPDX-License-Identifier: GPL-3.0-or-later
#include "simlink.h"

#include "handshake.h"

bool SimLink::start(QString *why)
{
    if (!phone.start(why))
        return false;
    if (!runHandshake(link, phone.devicePath(), [] {}, [] {}).connected) {
        *why = QStringLiteral("no phone behind ") + phone.devicePath();
        return false;
    }
    phone.clearCommands();
    return true;
}

QStringList SimLink::commands() const
{
    QStringList commands;
    for (const QString &line : phone.commands())
        commands.append(line.mid(2));
    return commands;
}
