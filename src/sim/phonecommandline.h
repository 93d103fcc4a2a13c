// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simmodem.h"

#include <QString>

class QCoreApplication;

// The command line of veldrano-phone: the options are those of SimModem,
// named as the README lists them.
namespace PhoneCommandLine {

struct Settings {
    SimModem::Options options;
    // The character set after power-on.
    QString charset;
    int latencyMs = 0;
    // How many positions the SIM has; 0 keeps those of its phonebook.
    int simPositions = 0;
    // Where the phonebooks are loaded from and written back; empty for
    // none.
    QString statePath;
};

// Reads the arguments of app; false with the reason in *why. --help shows
// the options and ends the program.
bool parse(const QCoreApplication &app, Settings *settings, QString *why);

}
