// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"

#include <QStringList>

// The lines of a list file and the entries they hold. Every line of a file
// is drawn under one layout: the list's limits, each field widened to the
// longest name or number where one is longer, so that a file never cuts an
// entry; a list within its limits is drawn exactly as the window draws it.
// The load reads each line by the columns of the file's layout, so that a
// name holding the field separator's character ("STUDIO M³ SRL") comes back
// whole. A line that the layout does not give back, one edited by hand, is
// split at its first separators and kept as it stands; one without both
// separators holds no entry and is unread.
namespace ListFileLayout {

// A sorted list as a list file holds it: its entries, numbered, and the
// limits its lines are drawn under.
struct StoredList {
    PhonebookEntries entries;
    PhonebookLimits limits;
};

// The list's lines as its file holds them.
QStringList draw(const StoredList &list);

// The list the lines hold. The file's field separator stands where the most
// lines hold its character, counted from their position separator; where
// places tie (a single line whose name holds "³"), the farthest wins, since
// the numbers a phone dials hold no "³" and names may. The list's limits are
// those of the first line drawn with its separator there; without such a
// line, those of the first line that holds both separators.
StoredList read(const QStringList &lines);

}
