#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"

#include <optional>

// The entries that show anything, as their lines show them, in the order of
// their name field then their number field (entries that compare equal keep
// their order), numbered 1, 2, 3 ...; the panel names each stage and the
// bar follows it. Nullopt when the program is ending.
std::optional<PhonebookEntries> sortedEntries(const PhonebookEntries &source, const PhonebookLine::Limits &limits,
                                              OperationReport &report);

// Fills List2 with List1's entries sorted, in the sorted layout, each with
// its fields. List1 is not changed. List2 is cleared even when there is
// nothing to sort.
Outcome sortPhonebook(const FormVariables &vars, const PhonebookListModel &List1, PhonebookListModel &List2,
                      OperationReport &report);
