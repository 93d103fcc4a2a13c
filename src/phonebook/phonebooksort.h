#pragma once

#include "formvariables.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"

// Fills List2 from List1: the empty positions dropped, the entries in the
// order of their name field then their number field (entries that compare
// equal keep their List1 order), renumbered 1, 2, 3 ... in the sorted
// layout, each with its fields, as their lines show them. List1 is not
// changed. List2 is cleared even when there is nothing to sort.
void sortPhonebook(const FormVariables &vars, const PhonebookListModel &List1, PhonebookListModel &List2,
                   OperationReport &report);
