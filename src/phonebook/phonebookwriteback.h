#pragma once

#include "formvariables.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"

class PhoneLink;

// Writes the sorted list to the phonebook the phone has selected: entry k of
// List2 to position k, every later position up to MAXNUMRUB cleared, and
// reads it all back. Then List1 shows the phone's new content in the sorted
// layout, one entry per position, each with the fields written.
// Nothing is sent unless RUBSEL names a phonebook and every entry of List2
// can be written whole; the first refused command ends the write with List1
// as it was. When the phone does not hold what was written, List1 shows
// what it holds instead, as the read shows it, and List2 stays as it is.
struct WriteBackResult {
    // The row of List2 that kept the whole list from being sent, or whose
    // write the phone refused (the positions before it hold their entries),
    // or -1.
    int refusedRow = -1;
    // The row of List1 of the first position that does not hold what was
    // written, or -1.
    int differentRow = -1;
};
WriteBackResult writeSortedPhonebook(PhoneLink &link, const FormVariables &vars,
                                     PhonebookListModel &List1, const PhonebookListModel &List2,
                                     OperationReport &report);
