// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "atcommands.h"
#include "phonebooklimits.h"
#include "progress.h"

#include <QString>

#include <optional>

namespace Rubrica {
inline const QString kSim = QStringLiteral("RUBRICA SIM");
inline const QString kCellulare = QStringLiteral("RUBRICA CELLULARE");
inline const QString kNone = QStringLiteral("ERROR");
}

// A phonebook the read can select, with all that names it.
struct Phonebook {
    QByteArray storage; // as +CPBS selects it
    QString rubsel; // RUBSEL once it has been read whole
    Stage reading; // the stage while it is read
    Stage writing; // and while the sorted list is written to it
    QString backupWord; // in the names of its backups
};

namespace Phonebooks {
inline const Phonebook kSim{AtCommands::kSimStorage, Rubrica::kSim, Stage::ReadingSim, Stage::WritingSim,
                            QStringLiteral("SIM")};
inline const Phonebook kPhone{AtCommands::kPhoneStorage, Rubrica::kCellulare, Stage::ReadingPhone,
                              Stage::WritingPhone, QStringLiteral("CELLULARE")};
}

// The phone's limits and the selected phonebook, set by the last read.
struct FormVariables {
    // They keep their values from one read to the next; only a phone that
    // tells them changes them.
    PhonebookLimits limits;
    // The phonebook of the last read, when it read every position.
    std::optional<Phonebook> phonebook;

    QString RUBSEL() const { return phonebook ? phonebook->rubsel : Rubrica::kNone; }
};
