#pragma once

#include <QString>

// The phonebook write command +CPBW, which stores or erases one position of
// the phonebook the phone has selected.
namespace PhonebookCommands {

inline constexpr int kInternationalType = 145;
inline constexpr int kNationalType = 129;

// 145 when the number holds "+39" anywhere, otherwise 129 (an international
// number of another country included: the phone keeps its "+" anyway).
int numberType(const QString &number);

// +CPBW=k,"number",type,"name" and then fields, the USIM fields as
// UsimAnswer::writeFields gives them — nothing in the name or number is
// escaped; the name is given as it goes on the line, in the phone's
// character set.
QString writeCommand(int position, const QString &number, const QString &name,
                     const QString &fields = QString());

// +CPBW=k alone, which erases position k.
QString clearCommand(int position);

// False when the text holds a control character: a CR would end the command
// early and the phone would run the rest as a command of its own.
bool fitsCommand(const QString &text);

}
