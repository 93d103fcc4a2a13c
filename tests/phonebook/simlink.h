// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonelink.h"
#include "simphone.h"

#include <QString>
#include <QStringList>

#include <chrono>

// The simulated phone with a real link open on it, set up as the window
// leaves it after opening the port. The phone's set is one of 8 bits, which
// the program keeps, so that each command goes as the window's tests see
// it, unless another is given. The deadline is long enough that an answer
// never races it on a busy machine.
struct SimLink {
    explicit SimLink(const QString &charset = QStringLiteral("8859-1")) : phone(charset) {}

    // Starts the phone, runs the window's handshake on it and forgets the
    // commands that took; false with the reason in *why.
    bool start(QString *why);

    // The commands that reached the phone since, without "AT".
    QStringList commands() const;

    SimPhone phone;
    PhoneLink link{std::chrono::milliseconds(3000)};
};
