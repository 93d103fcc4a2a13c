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
};

namespace AtParameters {

// Splits the text after "=". Spaces outside quotes are dropped. A quoted
// string ends at the first double quote that is followed by a comma or by the
// end of the text, so a name may hold commas and even a double quote of its
// own. Returns false when the text is not a parameter list.
bool split(const QByteArray &text, QList<AtParameter> *parameters);

}
