// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The USIM fields of a list's lines, which the list file cannot show, kept
// in a file of their own beside it, so that the list file's bytes stay those
// of a plain list. UTF-8 JSON: one object with a member per line that has
// fields, named by the line's number counted from 1, each holding that
// line's non-empty fields by name, one line of text per member:
//
//     {
//     "2": {"adNumber":"0612345679","adType":"129","group":"FAMIGLIA","hidden":"1"},
//     "7": {"email":"zoe@example.org"}
//     }
namespace FieldsFile {

// "rubrica.rds" keeps its fields in "rubrica.rds.fields".
QString nameFor(const QString &listName);

bool anyFields(const PhonebookEntries &entries);

QByteArray encode(const PhonebookEntries &entries);

// The fields of each of the lineCount lines of the list. Nullopt when bytes
// are not such a file: not JSON, a member that names no line of the list, a
// field of an unknown name or not a text.
std::optional<QList<UsimFields>> decode(const QByteArray &bytes, qsizetype lineCount);

}
