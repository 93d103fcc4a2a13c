// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The sorted list file: one list line per text line, every line (the last
// one too) ended by CR LF, Windows-1252 single bytes, no header. A line is
// written exactly as the list holds it, trailing padding spaces included.
// A list holding a character that Windows-1252 lacks (a name read from a
// UCS2 phone) is written in UTF-8 instead, behind its byte-order mark, so
// that no character is lost.
namespace ListFileCodec {

// The list file's extension, in upper case as the names are tested; a
// save appends it in lower case.
inline const QString kExtension = QStringLiteral(".RDS");
// The file dialogs' filter.
inline const QString kFilter = QLatin1Char('*') + kExtension;

QByteArray encode(const QStringList &lines);

// The lines of a list file. A line ends at CR LF, which is not part of its
// text, and the last line may lack it; an empty file has no lines. A lone LF
// also ends a line, so that a list edited on Linux loads line by line; a lone
// CR stays in the text, so that loading and saving again keeps its bytes.
// No list line holds a NUL byte: a file that does is not a list file
// (a binary file chosen by mistake) and gives no lines at all (nullopt).
// A file that begins with UTF-8's byte-order mark is read as UTF-8, and is
// no list file either when it is not valid UTF-8.
std::optional<QStringList> decode(const QByteArray &bytes);

// The name the list is saved under: the chosen name with ".rds" appended
// unless its upper-case form holds ".RDS" somewhere (folder included).
QString saveName(const QString &chosen);

// Whether a list may be loaded from name: it is not empty and its upper-case
// form holds ".RDS" somewhere, folder included.
bool isLoadableName(const QString &name);

}
