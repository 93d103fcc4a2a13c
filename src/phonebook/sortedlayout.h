#pragma once

#include "phonebookline.h"
#include "phonebookrow.h"

#include <QString>

// How the lines of List1 become the numbered lines of a sorted list: the
// sort and the backup of a read make them alike, so that a backup loads and
// writes back as a sorted list does.
namespace SortedLayout {

// False for the line of an empty position.
bool holdsEntry(const QString &line, const PhonebookLine::Limits &limits);

// What is compared and kept of a line: one space, the name field, " ³ ", the
// number field. A sorted-layout line (List1 after a write-back) has one more
// space after "Ã" than a read-layout line; it gives the same item, so that
// it neither sorts ahead of everything nor renumbers with three spaces.
QString item(const QString &line, const PhonebookLine::Limits &limits);

// The sorted-layout line that shows item at position.
QString numbered(int position, const QString &item, const PhonebookLine::Limits &limits);

// The entries of rows in their own order, numbered 1, 2, 3 ..., each with
// its fields: a sorted list that keeps the phone's order.
PhonebookRows inPhoneOrder(const PhonebookRows &rows, const PhonebookLine::Limits &limits);

}
