#pragma once

#include "formvariables.h"
#include "operationreport.h"

#include "phonebookrowmodel.h"

class PhoneLink;

// Writes the sorted list to the phonebook the phone has selected: line k-1
// of List2 to position k, every later position up to MAXNUMRUB cleared. Then
// List1 shows the phone's new content, one sorted-layout row per position,
// each entry with the fields written.
// Nothing is sent unless RUBSEL names a phonebook and every line of List2
// can be written whole; the first refused command ends the write with List1
// as it was. Returns the row of List2 that could not be written, when one
// kept the whole list from being sent; otherwise -1.
int writeSortedPhonebook(PhoneLink &link, const FormVariables &vars, PhonebookRowModel &List1,
                         const PhonebookRowModel &List2, OperationReport &report);
