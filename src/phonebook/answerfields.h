// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// The rules every answer of the phone is taken apart by, over its bytes:
// its lines, its comma-separated values, its numbers.
namespace AnswerFields {

// The first position at or after from that holds no space; the text's
// size when only spaces follow.
qsizetype pastSpaces(const QByteArray &text, qsizetype from);

// The text after prefix on the first line of the answer that opens with it
// (in any case), without the blanks and the CR around it.
std::optional<QByteArray> prefixedLine(const QByteArray &answer, const QByteArray &prefix);

// The line prefix opens, or, from a phone that sends no prefix, the
// answer's first line that is not blank. The reply has set aside the codes
// the phone slipped in: those carry quotes and commas of their own.
QByteArray answerLine(const QByteArray &answer, const QByteArray &prefix);

// One value of a line: the text between the quotes, or a bare value without
// the spaces around it.
struct Field {
    bool quoted = false;
    QByteArray value;
};

// The comma-separated values of text; a quoted value ends at its closing
// quote. Spaces around the commas are no part of a value, those inside
// quotes are. Nullopt when a quote is not closed, or anything but spaces
// stands between a closing quote and the comma after it.
std::optional<QList<Field>> fields(const QByteArray &text);

}
