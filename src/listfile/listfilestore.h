#pragma once

#include "phonebookrow.h"

#include <QString>

#include <optional>

// A list file on disk together with the fields file beside it.
namespace ListFileStore {

// Writes the rows' lines to the list file name and their fields to its
// fields file, each whole or not at all; a list without fields removes an
// old fields file, which would give its lines another list's fields. False
// when either could not be written. Nothing changes on disk unless both
// files could be written out in full; only a list that cannot take its
// place after its fields file has done so leaves the two apart.
bool write(const QString &name, const PhonebookRows &rows);

// The rows of the list file name, each with its fields when a fields file
// is beside it; nullopt when either file cannot be read or is not one.
std::optional<PhonebookRows> read(const QString &name);

}
