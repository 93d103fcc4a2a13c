// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonecharset.h"
#include "phonebookentry.h"
#include "phonebooklimits.h"

#include <QByteArray>

#include <optional>

// Parsers for the phone's answers to the phonebook commands. They take the
// information text of a reply, the bytes as the phone sent them (framing,
// the codes set aside and the final "OK" removed), and refuse what they
// cannot make sense of, so that the read stops instead of storing made-up
// limits or entries.
namespace PhonebookAnswers {

// Bounds beyond which a reported limit is taken for garbage: no phonebook
// holds more positions, and no phone stores numbers or names this long.
inline constexpr int kMaxPositions = 100000;
inline constexpr int kMaxFieldLength = 1000;

// The answer to "+CPBR=?", "+CPBR: (1-250),40,18": the highest position,
// then the number length, then the text length.
// The range may come in parentheses or, from some older phones, without
// them ("+CPBR: 1-250,40,18"), and spaces may stand around its numbers and
// commas. Nullopt without the range, with a parenthesis unmatched, without
// the comma that ends the number length, with an upper bound below 1 or
// above kMaxPositions, or with a length below 1 or above kMaxFieldLength.
// The lower bound is ignored: reading always starts at position 1. Fields
// after the text length are ignored.
std::optional<PhonebookLimits> parseIndexRange(const QByteArray &answer);

// The answer to "+CPBW=?", "+CPBW: (1-250),40,(129,145),18": the range, the
// number length, the number types, the text length, from a phone that
// refuses "+CPBR=?". The range and the lengths as parseIndexRange takes
// them, and refused where it refuses them; the types in parentheses or a
// single one bare, and ignored.
std::optional<PhonebookLimits> parseWriteRange(const QByteArray &answer);

// The used count in the answer to "+CPBS?", "+CPBS: \"SM\",46,250": the
// entries the selected phonebook holds. Nullopt when the answer has no
// "+CPBS:" line or its second field is no number.
std::optional<int> parseUsedCount(const QByteArray &answer);
// The total in the same answer: the positions the selected phonebook has.
// Nullopt when its third field is no number, or below 1 or above
// kMaxPositions.
std::optional<int> parseStorageSize(const QByteArray &answer);

// One position's answer, "+CPBR: 7,\"+393331234567\",145,\"MARIO ROSSI\"": the
// entry at the position the answer names.
// Parses the answer's "+CPBR:" line, or, from a phone that sends no prefix,
// its first line that is not blank. The line opens with the index; the
// number and the name are the first and second quoted texts; the name ends
// at its first double quote. Spaces around the commas are no part of a
// field, those inside quotes are. In a hex character set the name may also
// come without quotes. The name is turned from the phone's character set
// into text; the number is taken as it stands.
// What follows the name are the USIM fields of 27.007: hidden, group,
// second number and its type, second text, e-mail, SIP URI, TEL URI (+CPBW
// takes them in another order; see PhonebookCommands). Any of them may be
// empty or missing at the end; their texts are in the phone's character
// set too. Fields after the name in another form are kept whole as the
// fields' unknownForm; a date and time stamp is no field.
// A number of type 145 that lacks its "+" gets it back. Nullopt without the
// index, when the two texts are not there or a text is not valid in the
// character set.
std::optional<PhonebookEntry> parseEntry(const QByteArray &answer, const PhoneCharset &charset = PhoneCharset());

}
