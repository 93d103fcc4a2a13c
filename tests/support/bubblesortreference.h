// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"

#include <QStringList>

// The sort done the slow, obvious way, as a yardstick for sortPhonebook,
// with an order of its own rather than the program's collator: each entry
// as its sort item (a space, the name field, " ³ ", the number field), the
// empty positions dropped, a bubble sort with full passes that exchanges
// only when an item comes after the next one, then the items numbered 1, 2,
// 3 ... in the sorted layout. Returns the lines sortPhonebook must put in
// List2.
QStringList bubbleSortReference(const PhonebookEntries &entries, const PhonebookLimits &limits);
