// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formvariables.h"
#include "phonebookentry.h"
#include "progress.h"

#include <QString>

#include <optional>

class PhoneLink;

// How the save or the delete of one entry ended.
struct EntryEdit {
    enum class End {
        Done,
        // Nothing to act on, or nothing that may be sent: nothing is sent.
        Refused,
        // The phone refused the command, or the port failed.
        Failed,
        // The phone took the command but does not hold what was sent.
        Differs,
        // The user gave up.
        Stopped,
    };
    End end = End::Refused;
    // What the position holds once the phone has taken the command: what
    // was sent, or where it differs, what the phone holds instead.
    std::optional<PhonebookEntry> held;
};

// The save and the delete of the entry at a position of List1 (0 when none
// is selected), each one +CPBW. Nothing is sent when List1 has no entry at
// that position (emptied since the selection, by opening the port or
// loading a list file) or when the last read could not tell what the phone
// holds there. Once the phone answered "OK" the position is read back.

// Stores name and number (trimmed of spaces) at the position, with the
// entry's other fields. The name may be empty, the number may not.
EntryEdit saveEntry(PhoneLink &link, const FormVariables &vars, const PhonebookEntries &List1, int position,
                    const QString &name, const QString &number, Progress &progress);

// Erases the position; its entry becomes an empty one.
EntryEdit deleteEntry(PhoneLink &link, const PhonebookEntries &List1, int position, Progress &progress);
