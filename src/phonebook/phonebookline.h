// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebooklimits.h"

#include <QString>

#include <optional>

// How an entry shows as a text line of the lists and of the list file: the
// position tag ("007/250"), " Ã ", the name field (exactly MAXCARNOM
// characters), " ³ ", the number field (exactly MAXCARNUM characters). The
// sorted layout has one more space after " Ã ". Lines are drawn here and
// nowhere else; they are parsed only where text comes in, from a list file.
namespace PhonebookLine {

inline constexpr QChar kPositionSeparator{0x00C3};
inline constexpr QChar kFieldSeparator{0x00B3};

enum class Layout { Read, Sorted };

// Digits of the highest position (3 for 250); 0 while it is unset.
int indexWidth(int maxNumRub);

// "007/250" for position 7 of 250.
QString positionTag(int position, int maxNumRub);

// Text cut or space-padded to exactly width characters (UTF-16 units, as
// the edit boxes count them). A cut never splits a surrogate pair: a pair
// that does not fit is left out whole, and a space takes its place.
QString fixedField(const QString &text, int width);

// The tag as the line shows it before " Ã ": "007/250 ".
QString tagText(int position, const PhonebookLimits &limits);

// What the sort compares of an entry: one space, the name field, " ³ ",
// the number field.
QString sortItem(const PhonebookEntry &entry, const PhonebookLimits &limits);

// The line of the entry at its position; an empty entry gives the empty
// slot line, an entry loaded from a list file the line it came from.
QString draw(const PhonebookEntry &entry, Layout layout, const PhonebookLimits &limits);

// The entry as its line shows it: name and number cut to their fields,
// without the padding after them.
PhonebookEntry shown(const PhonebookEntry &entry, const PhonebookLimits &limits);

// The entry as the edit boxes show it and a write sends it: name and number
// trimmed of spaces at both ends.
PhonebookEntry asWritten(const PhonebookEntry &entry);


// A sorted-layout line of a list file: the entry it shows (its position the
// tag's number, name and number trimmed of spaces) and the limits it was
// drawn under. Nullopt for a line without both separators in order.
struct Parsed {
    PhonebookEntry entry;
    PhonebookLimits limits;
};
// The line split at its first position separator and at its first field
// separator.
std::optional<Parsed> parse(const QString &line);
// The line split at its first position separator and at the field separator
// that stands at index fieldSeparator, where a name holding the separator's
// character leaves more than one to choose from; nullopt too when none
// stands there.
std::optional<Parsed> parseAt(const QString &line, qsizetype fieldSeparator);

}
