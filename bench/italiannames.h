// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QRandomGenerator;

// Entries as an Italian phonebook holds them after years of typing on a
// keypad: given names and surnames with accents and apostrophes, in any
// case, mobile and landline numbers with and without the country code.
namespace ItalianNames {

// At most maxLength characters, no trailing space.
QString name(QRandomGenerator &random, int maxLength);
QString number(QRandomGenerator &random, int maxLength);

}
