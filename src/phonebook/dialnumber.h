// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

#include <optional>

// When two numbers dial the same phone. People save one number in many
// forms ("+39 333 123-4567", "0039 3331234567", "333.1234567"), and a
// phonebook read after two imports holds them all; the numbers are never
// compared by their last digits, which would join different people.
namespace DialNumber {

// The country the phone is used in: its code is left off a number dialled
// at home, so "+39 333 ..." and "333 ..." ring the same phone.
inline const QString kHomeCountryCode = QStringLiteral("+39");

// A character that only makes a number readable: a space, a dash (any
// Unicode dash, as word processors and address books put them), a dot or a
// parenthesis.
bool isSeparator(QChar c);

// What the number dials, in one form for every way of writing it: without
// separators, "00" read as "+", the home country's code (given as "+39")
// left off, pause letters in lower case. Service codes ("*100#") stay as
// they stand. Nullopt for a number that dials nothing.
std::optional<QString> key(const QString &number, const QString &homeCode = kHomeCountryCode);

// Whether a and b dial the same phone; an empty number is the same as none,
// not even as another empty one.
bool same(const QString &a, const QString &b, const QString &homeCode = kHomeCountryCode);

}
