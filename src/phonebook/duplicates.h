// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialnumber.h"
#include "phonebookentry.h"

#include <QList>

#include <optional>

// The same person saved twice in a sorted list: after two imports, or after
// the SIM and the phone memory were merged.
namespace Duplicates {

// For each row, the row of the first other entry whose number dials the
// same phone (DialNumber), so that the line can be drawn apart and name its
// twin; nullopt for a row whose number no other row shares.
QList<std::optional<int>> marks(const PhonebookEntries &entries,
                                const QString &homeCode = DialNumber::kHomeCountryCode);

struct Dropped {
    // The rows left, numbered 1, 2, 3 ... as after a sort.
    PhonebookEntries entries;
    int dropped = 0;
};

// The list without the rows whose name and number both equal an earlier
// row's: names regardless of letter case and of spaces repeated or at their
// ends, numbers by DialNumber. The row kept takes every USIM field that only
// the dropped one had, a second number with its type. A row whose fields
// disagree with the earlier one's (two e-mails, two groups) stays, so that
// no field is lost.
Dropped withoutCopies(const PhonebookEntries &entries, const QString &homeCode = DialNumber::kHomeCountryCode);

}
