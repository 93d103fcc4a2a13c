// SPDX-License-Identifier: GPL-3.0-or-later
#include "answerfields.h"

#include "atcommands.h"

#include <algorithm>

namespace AnswerFields {

namespace {
using AtCommands::kQuote;
using AtCommands::kSeparator;
constexpr char kSpace = ' ';
} // namespace

qsizetype pastSpaces(const QByteArray &text, qsizetype from)
{
    while (from < text.size() && text.at(from) == kSpace)
        ++from;
    return from;
}

std::optional<QByteArray> prefixedLine(const QByteArray &answer, const QByteArray &prefix)
{
    for (const QByteArray &raw : answer.split('\n')) {
        const QByteArray line = raw.trimmed();
        const QByteArrayView opening = QByteArrayView(line).first(std::min(line.size(), prefix.size()));
        if (opening.compare(prefix, Qt::CaseInsensitive) == 0)
            return line.mid(prefix.size()).trimmed();
    }
    return std::nullopt;
}

QByteArray answerLine(const QByteArray &answer, const QByteArray &prefix)
{
    if (const std::optional<QByteArray> line = prefixedLine(answer, prefix))
        return *line;
    for (const QByteArray &raw : answer.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (!line.isEmpty())
            return line;
    }
    return QByteArray();
}

std::optional<QList<Field>> fields(const QByteArray &text)
{
    QList<Field> out;
    qsizetype at = 0;
    for (;;) {
        at = pastSpaces(text, at);
        Field field;
        if (at < text.size() && text.at(at) == kQuote) {
            const qsizetype close = text.indexOf(kQuote, at + 1);
            if (close < 0)
                return std::nullopt;
            field.quoted = true;
            field.value = text.mid(at + 1, close - at - 1);
            at = pastSpaces(text, close + 1);
            if (at < text.size() && text.at(at) != kSeparator)
                return std::nullopt;
        } else {
            const qsizetype end = text.indexOf(kSeparator, at);
            field.value = text.mid(at, (end < 0 ? text.size() : end) - at).trimmed();
            at = end < 0 ? text.size() : end;
        }
        out.append(field);
        if (at == text.size())
            return out;
        ++at;
    }
}

}
