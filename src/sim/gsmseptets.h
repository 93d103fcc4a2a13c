// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The GSM 7-bit default alphabet of 3GPP TS 23.038 with its extension
// table, one septet a byte, as a phone in the "GSM" set puts a text between
// the quotes of a command or an answer.
namespace GsmSeptets {

// The text that septets stand for; nullopt for a byte above 0x7F or an
// escape that leads to no character.
std::optional<QString> toText(const QByteArray &septets);

// The septets of one character: one, or the escape and one for a character
// of the extension table; empty when the alphabet lacks the character.
QByteArray ofCharacter(char16_t character);

}
