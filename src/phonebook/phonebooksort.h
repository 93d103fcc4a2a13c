#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"

#include <optional>

// The entries that show anything, as their lines show them, in the order of
// their name field then their number field (entries that compare equal keep
// their order), numbered 1, 2, 3 ...; the panel names each stage and the
// bar follows it. Nullopt when the program is ending. For entries made to
// fit the phone's fields, as an address book's are.
std::optional<PhonebookEntries> sortedEntries(const PhonebookEntries &source, const PhonebookLine::Limits &limits,
                                              OperationReport &report);

// Fills List2 with List1's entries sorted as sortedEntries() sorts them, in
// the sorted layout, each kept whole with its fields: an entry longer than
// the phone declares is ordered by its line, cut to the layout, but no
// character of it is lost. List1 is not changed. List2 is cleared even when
// there is nothing to sort.
Outcome sortPhonebook(const FormVariables &vars, const PhonebookListModel &List1, PhonebookListModel &List2,
                      OperationReport &report);
