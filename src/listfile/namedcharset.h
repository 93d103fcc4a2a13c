// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The character set a file names, such as a vCard's CHARSET=WINDOWS-1251,
// KOI8-R or SHIFT_JIS. On Linux Qt decodes every set through ICU. Qt for
// Windows has no ICU and knows only the Unicode sets and Latin-1, so there
// the others go through the code pages of Windows itself, which give the
// same characters.
namespace NamedCharset {

// The text of bytes in the set of that name; nothing when no set has it.
std::optional<QString> decode(const QByteArray &bytes, const QByteArray &name);

}
