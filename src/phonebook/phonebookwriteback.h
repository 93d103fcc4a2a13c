#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"

class PhoneLink;

// Writes the sorted list to the phonebook the phone has selected: entry k of
// List2 to position k, every later position up to MAXNUMRUB cleared, and
// reads it all back. Then List1 shows the phone's new content in the sorted
// layout, one entry per position, each with the fields written.
// Nothing is sent unless the last read was whole and every entry of List2
// can be written as it stands (otherwise its row is selected). Where a name
// travels in UCS2 it is tried first at a position List1 shows empty
// (Ucs2Trial), and a phone that does not keep it refuses the list. The first
// refused command ends the write with List1 as it was, the row of List2
// selected and its line named. When the phone does not hold what was
// written, List1 shows what it holds instead, as the read shows it, with the
// first position that differs selected, and List2 stays as it is.
Outcome writeSortedPhonebook(PhoneLink &link, const FormVariables &vars, PhonebookListModel &List1,
                             const PhonebookListModel &List2, OperationReport &report);
