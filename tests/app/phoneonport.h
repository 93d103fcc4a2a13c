// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "givennamechooser.h"
#include "phoneworker.h"
#include "portdirectory.h"
#include "simphone.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

// The simulated phone behind a pseudo-terminal on COM 1, the real serial
// port in between, and the phone's thread the program talks to it on: what
// the session's tests and the window's tests both stand on.
class PhoneOnPort {
public:
    // charset is the phone's set after power-on: by default one of 8 bits,
    // which the program keeps, so that accented names travel as they are.
    explicit PhoneOnPort(std::chrono::milliseconds deadline = std::chrono::milliseconds(3000),
                         const QString &charset = QStringLiteral("8859-1"));
    virtual ~PhoneOnPort();

    // The commands that reached the phone since the last call, without "AT".
    QStringList newCommands();

    SimPhone phone;
    // Devices for COM 2 onwards, given before the phone starts.
    QStringList otherPorts;
    GivenNameChooser chooser;
    std::unique_ptr<PhoneWorker> worker;
    std::unique_ptr<PortDirectory> ports;

protected:
    // Starts the phone and numbers the ports; false with the reason in why.
    bool startPhone(QString *why);

private:
    int m_commandsSeen = 0;
};
