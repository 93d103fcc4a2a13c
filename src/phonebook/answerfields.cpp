// SPDX-License-Identifier: GPL-3.0-or-later
#include "answerfields.h"

#include "atcommands.h"

#include <algorithm>
#include <limits>

namespace AnswerFields {

namespace {
using AtCommands::kQuote;
using AtCommands::kSeparator;
constexpr char kSpace = ' ';
} // namespace

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isDecimal(QByteArrayView text)
{
    return std::all_of(text.cbegin(), text.cend(), isDigit);
}

int leadingNumber(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == kSpace)
        ++i;
    qint64 value = 0;
    for (; i < text.size() && isDigit(text.at(i)); ++i) {
        value = value * 10 + (text.at(i) - '0');
        if (value > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
    }
    return int(value);
}

qsizetype pastSpaces(const QByteArray &text, qsizetype from)
{
    while (from < text.size() && text.at(from) == kSpace)
        ++from;
    return from;
}

QByteArray trimSpaces(const QByteArray &text)
{
    const qsizetype first = pastSpaces(text, 0);
    qsizetype end = text.size();
    while (end > first && text.at(end - 1) == kSpace)
        --end;
    return text.mid(first, end - first);
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
