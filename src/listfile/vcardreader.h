// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"

#include <QByteArray>

// The entries of a vCard file as address books and phones export it: 2.1
// (CHARSET=, QUOTED-PRINTABLE with soft line breaks, ENCODING= values, bare
// types such as TEL;CELL), 3.0 (Android, Google, Apple with item1.TEL
// groups) and 4.0 (RFC 6350: quoted parameters, TEL;VALUE=uri:tel:...).
// Folded lines are unfolded; a file may end its lines with CR LF, LF or CR,
// begin with a byte-order mark (UTF-8 or UTF-16) and hold cards of several
// versions, or be several files joined with cat, each behind its own
// byte-order mark. A text without CHARSET is read as UTF-8, or as
// Windows-1252 when it is not valid UTF-8.
//
// One entry per number to dial, in the file's order, positions counted from
// 1. The name is FN, else N put together (given names before the family
// name), else the organisation; control characters become spaces. A card
// with several numbers gives one entry each, the name followed by the SIM's
// type suffix ("/m" for CELL ...; see VCardForm). A number keeps what a
// phone dials (digits, "+", "*", "#", "p", "w"); spaces, dashes, dots and
// parentheses are dropped. A number holding anything else is skipped and
// counted, and so is a card with no number at all, or one left unfinished
// (the next BEGIN:VCARD or the end of the file finds it without its
// END:VCARD), so that the entries and the skipped add up to the cards of
// single numbers. The length of the name is left as it is, for the caller
// to cut to the phone's field.
//
// The USIM fields come from the properties VCardWriter writes; each goes to
// the entry whose TEL shares its vCard group, else to the card's first
// entry, the first value of each kind winning: EMAIL, the first of the
// CATEGORIES (not Google's "myContacts", which every contact there has),
// the first NICKNAME, a sip: IMPP, this program's TEL marks and X-
// properties. A type missing from the file is the one the number implies.
// Properties the phone has no place for are passed over.
namespace VCardReader {

struct Result {
    PhonebookEntries entries;
    int skipped = 0; // numbers and cards
};

Result read(const QByteArray &bytes);

}
