// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"

#include <QList>

// What the user makes of a sorted list before it is written back: rows
// taken out, another list merged in. (Whether the phonebook holds it is
// the write command's rule: a position past the last is refused.)
// Every list given back is numbered 1, 2, 3 ... as after a sort.
namespace SortedListEdit {

// The list without the given rows; rows that are not in it are passed over.
PhonebookEntries withoutRows(const PhonebookEntries &entries, const QList<int> &rows);

struct Fitted {
    PhonebookEntries entries;
    int skipped = 0;
};

// What a phonebook of these limits takes of a loaded list: lines that hold
// no entry and numbers longer than the number field (cut, they would dial
// someone else) are skipped; lines kept as they stood in their file are
// drawn anew under these limits. Names are left for the sort to cut.
Fitted fitted(const PhonebookEntries &loaded, const PhonebookLimits &limits);

// The current list with the additions sorted in, the additions being in
// the sort's order already (as sortedEntries gives them). The current
// entries keep their order among themselves and come before the additions
// they compare equal with.
PhonebookEntries mergedIn(const PhonebookEntries &current, const PhonebookEntries &additions,
                          const PhonebookLimits &limits);

}
