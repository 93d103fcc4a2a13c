#pragma once

#include "formvariables.h"
#include "operationoutcome.h"
#include "phonebooklistmodel.h"
#include "writecharset.h"

#include <QVector>

#include <optional>

class PhoneLink;

// Some phones offer UCS2 and keep a name written in it wrongly: as its hex
// digits, say. Found only by the check after a write-back, that costs every
// position written. So before the write-back overwrites anything, the first
// name of the list that travels in UCS2 is tried at a position List1 shows
// empty: written there, read back, cleared and read back empty. Without an
// empty position nothing is tried; the check still finds such a phone.
namespace Ucs2Trial {

// entries: the list's entries as they will be written, writes their
// writes. Nothing when the write-back may go on: no write travels in UCS2,
// List1 shows no empty position, or the phone kept the name tried.
// Otherwise how the write-back ends: "ERRORE: LISTA NON VALIDA" with the
// list's row of that name selected when the phone refused it or did not
// keep it; "ERRORE: VERIFICA SCRITTURA" when the position tried could not be
// emptied again, with its line in List1 showing what the phone holds there
// and selected; "ERRORE GRAVE IN SCRITTURA" on a failed port or a phone gone
// silent; nothing to say when the user gave up.
std::optional<Outcome> run(PhoneLink &link, const PhonebookEntries &entries,
                           const QVector<WriteCharset::Write> &writes, PhonebookListModel &List1,
                           const FormVariables &vars);

}
