// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "listfilelayout.h"

#include <QString>

#include <optional>

// A list file on disk together with the fields file beside it.
namespace ListFileStore {

using ListFileLayout::StoredList;

// Writes the list's lines (ListFileLayout) to the list file name and the
// entries' fields to its fields file, each whole or not at all (WholeFile);
// a list without fields removes an old fields file, which would give its
// lines another list's fields. False when either could not be written.
// Nothing changes on disk unless both files could be written out in full;
// only a list that cannot take its place after its fields file has done so
// leaves the two apart.
bool write(const QString &name, const StoredList &list);

// The list in the list file name (ListFileLayout), each entry with its
// fields when a fields file is beside it. Nullopt when either file cannot be
// read or is not one.
std::optional<StoredList> read(const QString &name);

}
