// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "portopening.h"

#include <QString>

#include <functional>

class PhoneLink;

struct HandshakeResult {
    bool connected = false;
    QString model;
    // Why the port did not open; Opened when it did, whether or not a phone
    // answered behind it.
    PortOpening opening = PortOpening::Opened;
};

// Resets the phone and sets it up for the answers the transaction expects:
// echo off, result codes on, verbose result codes. The answers are not
// examined; false when the link failed or the user gave up on the way.
bool ICC(PhoneLink &link);

// One reset, as the program ends.
void resetPhone(PhoneLink &link);

// Opens the device and makes sure a phone is behind it: two resets, the
// second of which must come back as the echo "AT", then the set-up, the
// model query and the choice of the character set, which the link keeps.
// portOpened runs once the port is open, echoConfirmed once the phone has
// answered with its echo. Any failure on the way, an empty device
// name included, leaves the port closed and connected false.
HandshakeResult runHandshake(PhoneLink &link, const QString &device,
                             const std::function<void()> &portOpened,
                             const std::function<void()> &echoConfirmed);
