// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The PC code page 437 of +CSCS="PCCP437": ASCII, and in the upper half the
// accented letters, Greek letters and box-drawing signs of the IBM PC. Held
// here rather than asked of ICU, which a Windows build goes without.
namespace Pc437Codec {

// Every byte stands for a character.
QString decode(const QByteArray &bytes);
// Nullopt when the code page lacks a character of text.
std::optional<QByteArray> encode(const QString &text);

}
