#pragma once

#include "formvariables.h"
#include "operationreport.h"

#include <QStringListModel>

class PhoneLink;

// Writes the sorted list to the phonebook the phone has selected: line k-1
// of List2 to position k, every later position up to MAXNUMRUB cleared. Then
// List1 shows the phone's new content, one sorted-layout line per position.
// Nothing is sent unless RUBSEL names a phonebook and every line of List2
// can be written whole; the first refused command ends the write with List1
// as it was.
void writeSortedPhonebook(PhoneLink &link, const FormVariables &vars, QStringListModel &List1,
                          const QStringListModel &List2, OperationReport &report);
