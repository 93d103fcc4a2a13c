#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "operationreport.h"
#include "phonebooklistmodel.h"

#include <QString>

class PhoneLink;

// The save and the delete of the entry selected in List1, each one +CPBW at
// its position (0 when none is selected). The list's entry is replaced only
// when the phone answered "OK", with exactly what was sent. Nothing is sent
// ("ERRORE") when List1 has no entry at that position (emptied since the
// selection, by opening the port or loading a list file) or when the last
// read could not tell what the phone holds there.
// Once the phone answered "OK" the position is read back; when it does not
// hold what was sent, the list line shows what it holds, with
// "ERRORE: VERIFICA SCRITTURA". Either is done when the phone took the
// command and holds what was sent.

// Stores name and number (trimmed of spaces) at the selected position. The
// name may be empty, the number may not.
Outcome saveEntry(PhoneLink &link, const FormVariables &vars, int position, const QString &name,
                  const QString &number, PhonebookListModel &List1, OperationReport &report);

// Erases the selected position; its entry becomes an empty one.
Outcome deleteEntry(PhoneLink &link, int position, PhonebookListModel &List1, OperationReport &report);

// "11/14": the characters the box holds, spaces included, over the limit.
QString counterText(const QString &boxText, int limit);
