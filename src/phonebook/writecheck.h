// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formvariables.h"
#include "progress.h"
#include "phonebookentry.h"

#include <QString>

class PhoneLink;

// "OK" means the phone took a command, not that it keeps what was sent: what
// the program reports as written, it has read back.
namespace WriteCheck {

struct Result {
    // The user gave up: nothing was compared.
    bool cancelled = false;
    bool equal = false;
    // The first position that does not hold what it must; 0 when equal.
    int firstDifferent = 0;
    // What the phone holds, one entry per position checked, as the read
    // shows it; a position the phone did not account for is an unread empty
    // entry. Empty when equal.
    PhonebookEntries held;
};

// Reads positions 1 ... expected.size() back and compares each with the
// entry it must hold (an empty entry: the position must be empty). The
// whole range is asked at once first; a range the phone refuses is halved
// until the phone takes one, and that size reads the rest; an answer that
// stops before the end of its range is read on from past its last entry,
// until the whole range is covered (a read on refused is settled by the
// phone's count of entries where it can be). A phone that refuses even small
// ranges is asked one position at a time, and a position the range answers
// show different or missing is asked again on its own before it counts.
// Errors are taken as the read takes them: "not found" is empty; another
// error leaves the position to the phone's count of entries. The progress
// names the check, and the bar goes over the positions. Cancelled when the
// program is ending.
Result checkPhonebook(PhoneLink &link, const PhonebookEntries &expected, Progress &progress);

// Reads one position back after an edit. entriesOnPhone is how many
// entries the phone must hold in all, for a phone that answers an empty
// position with a plain error.
Result checkPosition(PhoneLink &link, const PhonebookEntry &expected, int entriesOnPhone);

}
