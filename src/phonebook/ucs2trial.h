// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formvariables.h"
#include "phonebookwriteback.h"
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
// writes; List1: the phonebook as read. Nothing when the write-back may go
// on: no write travels in UCS2, List1 shows no empty position, or the phone
// kept the name tried. Otherwise how the write-back ends: InvalidList at
// the list's row of that name when the phone refused it or did not keep
// it; Differs when the position tried could not be emptied again, the
// phone as read but for what it holds there; Failed on a failed port or a
// phone gone silent; Stopped when the user gave up.
std::optional<WriteBack> run(PhoneLink &link, const PhonebookEntries &entries,
                             const QVector<WriteCharset::Write> &writes, const PhonebookEntries &List1,
                             const FormVariables &vars);

}
