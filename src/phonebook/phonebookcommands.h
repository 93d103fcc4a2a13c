// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"
#include "phonecharset.h"

#include <QByteArray>
#include <QString>

// The phonebook write command +CPBW, which stores or erases one position of
// the phonebook the phone has selected. Every command that carries the
// user's text is made here, so that nothing reaches the phone that it could
// take for something other than the entry.
namespace PhonebookCommands {

inline constexpr int kInternationalType = 145;
inline constexpr int kNationalType = 129;

// 145 when the number begins with "+" or holds "+39" anywhere, otherwise
// 129.
int numberType(const QString &number);

// Why an entry cannot be written as it stands.
enum class Refusal {
    None,
    Position,          // outside 1 ... the highest position
    NameTooLong,       // more characters than the phone's text length
    NumberTooLong,
    NameNotInSet,      // a character the phone's character set lacks
    NameCannotTravel,  // on the line it would hold a quote or a control byte
    NumberCannotTravel,
    FieldCannotTravel, // the same for one of the USIM fields
    FieldsNotUnderstood, // the phone reported fields in a form unknown here
};

struct WriteCommand {
    QByteArray command; // empty when refused
    Refusal refusal = Refusal::None;

    bool sendable() const { return refusal == Refusal::None; }
};

// +CPBW=k,"number",type,"name" for the entry at its position k, and then
// the USIM fields, the texts in the phone's character set, or the reason
// why it cannot go. Nothing is escaped or replaced: what cannot travel as
// it stands is refused.
// - The name, once in the phone's set, holds no double quote, no byte below
//   0x20, no 0x7F and no backslash before two hex digits (in GSM this leaves
//   the printable IA5 septets alone; in UCS2 and HEX the name travels as hex
//   digits).
// - The number, and the second number, go as they stand in every set: they
//   are printable ASCII under the same rule.
// - Every USIM field up to the last one that has a value goes, in +CPBW's
//   order: a text as "" when empty, a second number with its type, the
//   hidden flag last.
WriteCommand writeCommand(const PhonebookEntry &entry, const PhoneCharset &charset,
                          const PhonebookLimits &limits);

// The fields as the command carries them, and so as the phone reads them
// back: a second number without a type goes with the type of its text.
UsimFields asSent(UsimFields fields);

// +CPBW=k alone, which erases position k.
QByteArray clearCommand(int position);

}
