#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"

#include <QString>

#include <optional>

// A list file on disk together with the fields file beside it.
namespace ListFileStore {

// A sorted list as a list file holds it: its entries, numbered, and the
// limits its lines are drawn under.
struct StoredList {
    PhonebookEntries entries;
    PhonebookLine::Limits limits;
};

// Writes the list's sorted-layout lines to the list file name and the
// entries' fields to its fields file, each whole or not at all; a list without fields removes an
// old fields file, which would give its lines another list's fields. False
// when either could not be written. Nothing changes on disk unless both
// files could be written out in full; only a list that cannot take its
// place after its fields file has done so leaves the two apart.
bool write(const QString &name, const StoredList &list);

// The list in the list file name, each entry with its fields when a fields
// file is beside it, drawn under the limits of its first entry line; a line
// that is drawn otherwise is kept as it stands, and one without both
// separators holds no entry and is unread. Nullopt when either file cannot
// be read or is not one.
std::optional<StoredList> read(const QString &name);

}
