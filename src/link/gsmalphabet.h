// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The GSM 7-bit default alphabet of 23.038, one septet a byte as phones put
// it on the serial line, with the escape table for the characters beyond it.
namespace GsmAlphabet {

// Nullopt for a byte above 0x7F or an escape that leads nowhere.
std::optional<QString> decode(const QByteArray &septets);

// Nullopt when a character is in neither table.
std::optional<QByteArray> encode(const QString &text);

}
