// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "atparameters.h"
#include "simphonebook.h"

#include <QByteArray>
#include <QList>

class SimCharset;
struct SimOptions;

// A phonebook entry as the phone answers it to +CPBR and takes it from
// +CPBW: number, type and text, then the fields a USIM keeps besides.
namespace SimEntryFields {

// What a write that leaves the type to the phone gives as its type.
constexpr int kTypeLeftOut = -1;

// "+CPBR: 7,\"0612\",129,\"CASA\"", with the texts in the character set
// given and, on a phone that answers with extra fields, the hidden flag
// and the USIM fields up to the last one the entry has.
QByteArray answerLine(int index, const SimEntry &entry, const SimOptions &options, const SimCharset &charset);

// The whole record that the parameters of a +CPBW put in place, index
// first: what they leave out is empty, the type kTypeLeftOut. False when a
// parameter is not what its place takes.
bool fromWrite(const QList<AtParameter> &parameters, const SimOptions &options, const SimCharset &charset,
               SimEntry *entry);

}
