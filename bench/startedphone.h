// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "handshake.h"
#include "phonelink.h"
#include "simphone.h"

#include <QString>

#include <cstdio>

// Starts the simulated phone a benchmark times against; false, with the
// reason on stderr, when it cannot.
inline bool startPhone(SimPhone &phone)
{
    QString why;
    if (phone.start(&why))
        return true;
    std::fprintf(stderr, "simulated phone not started: %s\n", qPrintable(why));
    return false;
}

// Opens the port and sets the phone up as the window does (echo off among
// other things), so that the bare exchanges meet the same phone too.
inline bool connectPhone(PhoneLink &link, const QString &device)
{
    if (runHandshake(link, device, [] {}, [] {}).connected)
        return true;
    std::fprintf(stderr, "no phone behind %s\n", qPrintable(device));
    return false;
}
