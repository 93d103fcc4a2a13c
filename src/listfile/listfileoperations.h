// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "listfilestore.h"
#include "phonebookline.h"
#include "progress.h"

class FileNameChooser;

// "SALVA LISTA ORDINATA": asks for a name and stores the sorted list in
// that file, replacing it whole: as vCard when the name ends in ".vcf" (in
// any case), otherwise as a list file with its lines' fields in the fields
// file beside it (ListFileStore). A save that fails leaves no partial file
// and an existing file as it was.
enum class ListSave { Saved, Impossible };
ListSave saveSortedList(FileNameChooser &chooser, const ListFileStore::StoredList &list, Progress &progress);

// "LOAD LISTA ORDINATA": asks for a name, reads and checks the whole file
// and its fields file if there is one. A vCard file (".vcf") is sorted as
// the sort would sort a phonebook of these limits, the names cut to the
// name field; before a read has told the limits it is refused as the sort
// refuses.
struct ListLoad {
    enum class End {
        Loaded,
        // An address book's export, with the cards and numbers skipped.
        LoadedCards,
        // No name, a name not of a list, or a file that cannot be read.
        Impossible,
        // A vCard file before a read has told the limits.
        NotLoaded,
        Stopped,
    };
    End end = End::Impossible;
    // The sorted list as loaded, for List2.
    ListFileStore::StoredList list;
    int skipped = 0;
};
ListLoad loadSortedList(FileNameChooser &chooser, const PhonebookLimits &limits, Progress &progress);
