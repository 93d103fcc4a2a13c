#pragma once

#include "operationoutcome.h"
#include "phonebookline.h"

class FileNameChooser;
class OperationReport;
class PhonebookListModel;

// "SALVA LISTA ORDINATA": asks for a name and stores the sorted list in
// that file, replacing it whole: as vCard when the name ends in ".vcf" (in
// any case), otherwise as a list file with its lines' fields in the fields
// file beside it (ListFileStore). A save that fails leaves no partial file
// and an existing file as it was.
Outcome saveSortedList(FileNameChooser &chooser, const PhonebookListModel &List2, OperationReport &report);

// "LOAD LISTA ORDINATA": asks for a name, reads and checks the whole file
// and its fields file if there is one, and only then puts its entries in
// List2 and empties List1. A vCard file (".vcf") is sorted into List2 as
// the sort would sort a phonebook of these limits, the names cut to the
// name field; before a read has told the limits it is refused as the sort
// refuses. A file or fields file that cannot be read leaves both lists as
// they were.
Outcome loadSortedList(FileNameChooser &chooser, const PhonebookLine::Limits &limits, PhonebookListModel &List1,
                       PhonebookListModel &List2, OperationReport &report);
