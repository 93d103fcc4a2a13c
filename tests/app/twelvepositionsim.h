// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simphonebook.h"

#include <QMap>
#include <QStringList>

// A small SIM for the window's tests: seven entries in no order, with gaps,
// mixed case, an accented name, "+39" and foreign numbers, a comma in a
// name, and a free last position.
SimPhonebook twelvePositionSim();

// The same SIM with USIM fields on three of its entries.
SimPhonebook twelvePositionSimWithFields();

// What the phone holds once that SIM's sorted list is written back, as
// entriesOf() gives it.
QStringList twelvePositionSimSorted();

// Every non-empty position of a phonebook, as "position|number|type|text".
QStringList entriesOf(const QMap<int, SimEntry> &entries);
