#pragma once

#include "phonecharset.h"
#include "phonebookentry.h"

#include <QString>

#include <optional>

// Parsers for the phone's answers to the phonebook read commands. They take
// the text IOP hands back (framing and final "OK" removed) and refuse what
// they cannot make sense of, so that the read stops instead of storing
// made-up limits or entries.
namespace PhonebookAnswers {

// Bounds beyond which a reported limit is taken for garbage: no phonebook
// holds more positions, and no phone stores numbers or names this long.
inline constexpr int kMaxPositions = 100000;
inline constexpr int kMaxFieldLength = 1000;

// The answer to "+CPBR=?", "+CPBR: (1-250),40,18".
struct IndexRange {
    int maxNumRub = 0; // upper bound of the index range
    int maxCarNum = 0; // number length, the first value after the range
    int maxCarNom = 0; // text length, the value after that
};

// The range may come in parentheses or, from some older phones, without
// them ("+CPBR: 1-250,40,18"), and spaces may stand around its numbers and
// commas. Nullopt without the range, with a parenthesis unmatched, without
// the comma that ends the number length, with an upper bound below 1 or
// above kMaxPositions, or with a length below 1 or above kMaxFieldLength.
// The lower bound is ignored: reading always starts at position 1. Fields
// after the text length are ignored.
std::optional<IndexRange> parseIndexRange(const QString &answer);

// The used count in the answer to "+CPBS?", "+CPBS: \"SM\",46,250": the
// entries the selected phonebook holds. Nullopt when the answer has no
// "+CPBS:" line or its second field is no number.
std::optional<int> parseUsedCount(const QString &answer);

// One position's answer, "+CPBR: 7,\"+393331234567\",145,\"MARIO ROSSI\"": the
// entry at the position the answer names.
// Parses the answer's "+CPBR:" line, or, when there is none, its first
// line that is not an unsolicited result code ("RING", "+CMTI: ...", ...).
// The line opens with the index; the number and the name are the first and
// second quoted texts; the name ends at its first double quote. Spaces
// around the commas are no part of a field, those inside quotes are. In a
// hex character set the name may also come without quotes. The name is
// turned from the phone's character set into text; the number is taken as
// it stands. The USIM fields after the name are kept when they stand in
// their form (see UsimAnswer); other fields after the name are ignored.
// A number of type 145 that lacks its "+" gets it back. Nullopt without the
// index, when the two texts are not there or the name is not valid in the
// character set.
std::optional<PhonebookEntry> parseEntry(const QString &answer, const PhoneCharset &charset = PhoneCharset());

}
