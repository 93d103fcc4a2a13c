// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simphonebook.h"

#include <QByteArray>
#include <QString>

// The simulated phone's phonebooks as a small UTF-8 text file, so that a
// phone can be prepared by hand and keep what a program wrote into it.
//
//     # a comment; blank lines are skipped
//     [SM]	250	40	18
//     1	+393331234567	145	MARIO ROSSI
//     7	0612345678	129	Città
//     9	0612345679	129	Casa Mare	FAMIGLIA	393471112233	145					1
//     [ME]	500	40	20	1
//     ...
//
// A header line names a storage (SM or ME) in brackets, then its highest
// index, its number length and its text length, and optionally its lowest
// index (1 when left out); the fields are separated by tabs or spaces. The
// entries of that storage follow, one a line: index, number, type and text,
// separated by single tabs, so a text keeps its spaces. The fields a USIM
// keeps may follow, in the order group, second number, its type, second
// text, e-mail, SIP URI, TEL URI and hidden flag; trailing empty ones are
// left out, and a type of 0 or a flag of 0 is written empty. A tab, a line
// break or a backslash inside a number or a text is written as \t, \n, \r
// or \\.
namespace PhonebookState {

bool parse(const QByteArray &utf8, SimPhonebooks *phonebooks, QString *why = nullptr);
QByteArray format(const SimPhonebooks &phonebooks);

bool load(const QString &path, SimPhonebooks *phonebooks, QString *why = nullptr);
// Replaces the file only once the whole text is written.
bool save(const QString &path, const SimPhonebooks &phonebooks, QString *why = nullptr);

// An unsorted Italian SIM phonebook and a phone memory to go with it.
SimPhonebooks demo();

}
