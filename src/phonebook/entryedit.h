#pragma once

#include "formvariables.h"
#include "operationreport.h"
#include "phonebookrowmodel.h"

#include <QString>

class PhoneLink;

// The save and the delete of the entry selected in List1, each one +CPBW at
// the position shown in the position display. The list line is rewritten
// only when the phone answered "OK", with exactly what was sent. Nothing is
// sent ("ERRORE") when List1 has no line at that position (emptied since
// the selection, by opening the port or loading a list file) or when the
// last read could not tell what the phone holds there.
// Once the phone answered "OK" the position is read back; when it does not
// hold what was sent, the list line shows what it holds, with
// "ERRORE: VERIFICA SCRITTURA". Both return true when the phone took the
// command and holds what was sent.

// Stores name and number (trimmed of spaces) at the selected position. The
// name may be empty, the number may not.
bool saveEntry(PhoneLink &link, const FormVariables &vars, const QString &positionDisplay,
               const QString &name, const QString &number, PhonebookRowModel &List1,
               OperationReport &report);

// Erases the selected position; its line becomes an empty slot line.
bool deleteEntry(PhoneLink &link, const FormVariables &vars, const QString &positionDisplay,
                 PhonebookRowModel &List1, OperationReport &report);

// "11/14": the characters the box holds, spaces included, over the limit.
QString counterText(const QString &boxText, int limit);
