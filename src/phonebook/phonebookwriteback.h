// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formvariables.h"
#include "phonebookentry.h"
#include "progress.h"

#include <optional>

class PhoneLink;

// How a write-back ended, and what the phone holds afterwards.
struct WriteBack {
    enum class End {
        Done,
        // No phonebook read whole, or an empty list: nothing is sent.
        NoPhonebook,
        // The list's line at listRow cannot be written as it stands;
        // nothing is sent.
        InvalidList,
        // The phone refused the write of the list's line at listRow.
        Refused,
        // A clear refused, the port failed.
        Failed,
        // The phone does not hold what was written; phoneRow is the first
        // position that differs.
        Differs,
        // The user gave up.
        Stopped,
    };
    End end = End::NoPhonebook;
    std::optional<int> listRow;
    // What the phone holds, one entry per position, once the write has
    // been checked: the entries written, or where it differs, what it
    // holds instead, as the read shows it.
    std::optional<PhonebookEntries> phone;
    std::optional<int> phoneRow;
};

// Writes the sorted list to the phonebook the phone has selected: entry k of
// list to position k, every later position up to MAXNUMRUB cleared, and
// reads it all back. Nothing is sent unless vars holds a phonebook read
// whole and every entry of the list can be written as it stands. Where a
// name travels in UCS2 it is tried first at a position List1, the
// phonebook as read, shows empty (Ucs2Trial), and a phone that does not
// keep it refuses the list. The first refused command ends the write.
WriteBack writeSortedPhonebook(PhoneLink &link, const FormVariables &vars, const PhonebookEntries &list,
                               const PhonebookEntries &List1, Progress &progress);
