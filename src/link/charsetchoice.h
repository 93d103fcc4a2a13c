// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonecharset.h"

#include <QByteArray>
#include <QByteArrayList>

#include <optional>

class PhoneLink;

// Parsers for the answers to +CSCS? and +CSCS=?.
namespace CharsetAnswers {

// The set named by "+CSCS: \"GSM\""; nullopt for any other answer.
std::optional<QByteArray> parseCurrent(const QByteArray &answer);

// The sets of "+CSCS: (\"IRA\",\"GSM\")", with or without the parentheses.
QByteArrayList parseOffered(const QByteArray &answer);

}

// Finds the set the phonebook's texts travel in, once per connection. A set
// in which characters stand as themselves, and UCS2, are kept. From GSM
// septets or HEX (or a set the program does not know) the phone is moved to
// UCS2 or else 8859-1 when it offers them, because raw septets cannot
// travel on a command line; without them it stays in its set. A phone that
// does not tell its set gets Windows-1252 single bytes. A phone moved keeps
// its own set as the link's home set, where it offers it. Nullopt when the
// link failed or the user gave up on the way.
std::optional<PhoneCharset> chooseCharset(PhoneLink &link);
