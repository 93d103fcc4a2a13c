// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"
#include "progress.h"

#include <optional>

// The entries that show anything, in the order of their lines' name field
// then number field (entries that compare equal keep their order),
// numbered 1, 2, 3 ...; the progress names each stage and the bar follows
// it. Nullopt when the program is ending.

// List1's entries for List2, each kept whole with its fields: an entry
// longer than the phone declares is ordered by its line, cut to the
// layout, but no character of it is lost.
std::optional<PhonebookEntries> sortedPhonebook(const PhonebookEntries &List1, const PhonebookLimits &limits,
                                                Progress &progress);

// Entries made to fit the phone's fields, as an address book's are: each
// as its line shows it.
std::optional<PhonebookEntries> sortedEntries(const PhonebookEntries &source, const PhonebookLimits &limits,
                                              Progress &progress);
