// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"

#include <QByteArray>

// The phonebook as vCard 3.0 (RFC 2426), the version every address book
// imports: UTF-8, CR LF, lines folded at 75 octets, text escaped.
//
// One card per entry, with FN and N from the name (all of it in N's family
// name: which part is the surname the phone cannot tell) and a TEL with the
// number. The USIM fields follow: the second number as a second TEL marked
// X-VELDRANO-FIELD=SECOND-NUMBER, e-mail as EMAIL, group as CATEGORIES,
// second text as NICKNAME, SIP URI as IMPP, TEL URI as a TEL;VALUE=uri
// marked TEL-URI, hidden as X-VELDRANO-HIDDEN, fields in a form unknown here
// as X-VELDRANO-UNKNOWN-FIELDS. A number's type travels as the TEL parameter
// X-VELDRANO-TYPE unless the number implies it ("+" for 145, none for 129);
// an international number gets its "+".
//
// Entries named with the SIM's type suffixes ("Chuck Woodbury/w", "/h",
// "/m", "/o", "/f"), two or more of them sharing the name before it, make
// one card named without it, where the first of them stood, each entry's
// TEL typed by its suffix (WORK, HOME, CELL, VOICE, FAX). The first entry's
// USIM fields stand without a group, as a reader gives those to the card's
// first number; a later entry that has fields has its TEL and its fields in
// a vCard group of their own ("entry2.TEL", "entry2.EMAIL"), and one without
// fields a plain TEL. A suffixed entry alone keeps its name. Empty entries
// make no card.
namespace VCardWriter {

QByteArray write(const PhonebookEntries &entries);

}
