// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

// One parameter of an extended AT command ("+CPBW=5,\"0612\",129,\"CASA\""
// has four). An omitted parameter, as the type in "5,\"0612\",,\"CASA\"", is
// not present.
struct AtParameter {
    bool present = false;
    bool quoted = false;
    QByteArray value;

    // A non-negative decimal constant, unquoted.
    bool toNumber(int *number) const;
    // An optional number no greater than highest; one left out leaves
    // *number as it is.
    bool toOptionalNumber(int highest, int *number) const;
    // The string as received, empty when left out; false when it lacks the
    // quotes a strict phone wants.
    bool toString(bool quotesRequired, QByteArray *string) const;
};

namespace AtParameters {

// The forms of an extended command, after its name.
inline const QByteArray kTestForm = QByteArrayLiteral("=?");
inline const QByteArray kReadForm = QByteArrayLiteral("?");
constexpr char kSetForm = '=';

// Splits the text after "=". Spaces outside quotes are dropped. A quoted
// string ends at the first double quote that is followed by a comma or by the
// end of the text, so a name may hold commas and even a double quote of its
// own. Returns false when the text is not a parameter list.
bool split(const QByteArray &text, QList<AtParameter> *parameters);

// The parameters of a set command, "=" and what follows; false for any
// other form.
bool splitSet(const QByteArray &form, QList<AtParameter> *parameters);

// The one string that a set command such as +CPBS="SM" carries.
bool soleString(const QByteArray &form, bool quotesRequired, QByteArray *string);

QByteArray quoted(const QByteArray &text);
// ("A","B"): what a test command answers with the values it takes.
QByteArray quotedList(const QList<QByteArray> &values);

}
