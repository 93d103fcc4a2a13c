#pragma once

class FileNameChooser;
class OperationReport;
class PhonebookListModel;

// "SALVA LISTA ORDINATA": asks for a name and stores the sorted list in
// that file, replacing it whole, and its lines' fields in the fields file
// beside it (ListFileStore). A save that fails leaves no partial file and
// an existing file as it was.
void saveSortedList(FileNameChooser &chooser, const PhonebookListModel &List2, OperationReport &report);

// "LOAD LISTA ORDINATA": asks for a name, reads and checks the whole file
// and its fields file if there is one, and only then puts its entries in
// List2 and empties List1. A file or fields file that cannot be read leaves both
// lists as they were.
void loadSortedList(FileNameChooser &chooser, PhonebookListModel &List1, PhonebookListModel &List2,
                    OperationReport &report);
