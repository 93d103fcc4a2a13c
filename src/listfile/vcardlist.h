// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"

#include <QString>

#include <optional>

// A sorted list kept as a vCard file, for the address books that read no
// list file, and an address book's export read in for the phone.
namespace VCardList {

// Writes the list's entries to the file name, whole or not at all. Lines
// of a list file that hold no entry are left out.
bool save(const QString &name, const PhonebookEntries &entries);

struct Loaded {
    PhonebookEntries entries;
    // Numbers and cards the phone cannot take: with no number, with a
    // character no phone dials, or a number longer than its number field.
    int skipped = 0;
};

// The file's entries for a phonebook of these limits; the names are left
// for the sort to cut to the name field. Nullopt when the file cannot be
// read.
std::optional<Loaded> load(const QString &name, const PhonebookLimits &limits);

}
