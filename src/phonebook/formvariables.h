#pragma once

#include "phonebookline.h"

#include <QString>

namespace Rubrica {
inline const QString kSim = QStringLiteral("RUBRICA SIM");
inline const QString kCellulare = QStringLiteral("RUBRICA CELLULARE");
inline const QString kNone = QStringLiteral("ERROR");
}

// The phone's limits and the selected phonebook, set by the last read.
struct FormVariables {
    // Highest phonebook position; 0 until a phonebook has been read, when
    // its text is empty.
    int MAXNUMRUB = 0;
    int MAXCARNOM = 0;
    qint16 MAXCARNUM = 0;
    QString RUBSEL = Rubrica::kNone;

    QString maxNumRubText() const { return MAXNUMRUB > 0 ? QString::number(MAXNUMRUB) : QString(); }
    // The widths every list line is built with under these limits.
    PhonebookLine::Limits lineLimits() const { return {MAXNUMRUB, MAXCARNOM, MAXCARNUM}; }
};
