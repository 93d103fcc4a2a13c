// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the code page of the phone line and of the list file.
// Decoding maps every byte to a character and encoding maps those characters
// back, so the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) survive as U+0081 and so on: a name stored in whatever
// character set the phone uses comes back unchanged after a read and a write.
// A character the code page cannot hold is encoded as '?'.
namespace SingleByteCodec {

QByteArray encode(const QString &text);
// Whether encode keeps every character of text, without a '?' for one.
bool canEncode(const QString &text);
QString decode(const QByteArray &bytes);

}
