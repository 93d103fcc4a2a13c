// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"

// How the entries of List1 become the numbered entries of a sorted list:
// the sort and the backup of a read make them alike, so that a backup loads
// and writes back as a sorted list does.
namespace SortedLayout {

// The entries numbered 1, 2, 3 ... in their order.
PhonebookEntries numbered(PhonebookEntries entries);

// The entries whose lines in List1 show anything, whole, in the phone's
// order and numbered: a sorted list that keeps the phone's order.
PhonebookEntries inPhoneOrder(const PhonebookEntries &entries, const PhonebookLimits &limits);

}
