// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookline.h"

#include "textrules.h"

namespace PhonebookLine {

namespace {
const QString kTagSeparator = kPositionSeparator + QStringLiteral(" ");
const QString kFieldSeparatorText = QStringLiteral(" ") + kFieldSeparator + QStringLiteral(" ");
const QChar kSpace = QLatin1Char(' ');

}

int indexWidth(int maxNumRub)
{
    return maxNumRub > 0 ? int(QString::number(maxNumRub).size()) : 0;
}

QString positionTag(int position, int maxNumRub)
{
    const QString total = maxNumRub > 0 ? QString::number(maxNumRub) : QString();
    return QStringLiteral("%1/%2").arg(position, indexWidth(maxNumRub), 10, QLatin1Char('0')).arg(total);
}

QString fixedField(const QString &text, int width)
{
    if (width <= 0)
        return QString();
    // A cut between the halves of a surrogate pair would leave half a
    // character, which no character set can carry: the pair is left out.
    qsizetype kept = qMin<qsizetype>(width, text.size());
    if (kept < text.size() && text.at(kept).isLowSurrogate() && text.at(kept - 1).isHighSurrogate())
        --kept;
    return text.left(kept).leftJustified(width, kSpace);
}

QString tagText(int position, const PhonebookLimits &limits)
{
    return positionTag(position, limits.MAXNUMRUB) + kSpace;
}

QString sortItem(const PhonebookEntry &entry, const PhonebookLimits &limits)
{
    return kSpace + fixedField(entry.name, limits.MAXCARNOM) + kFieldSeparatorText
        + fixedField(entry.number, limits.MAXCARNUM);
}

QString draw(const PhonebookEntry &entry, Layout layout, const PhonebookLimits &limits)
{
    if (entry.loadedLine)
        return *entry.loadedLine;
    // The item opens with a space: the tag separator's own in the read
    // layout, the one more of the sorted layout.
    const QString separator = layout == Layout::Sorted ? kTagSeparator : QString(kPositionSeparator);
    return tagText(entry.position, limits) + separator + sortItem(entry, limits);
}

PhonebookEntry shown(const PhonebookEntry &entry, const PhonebookLimits &limits)
{
    // The padding goes; spaces the phone keeps before a name stay, as the
    // line shows them.
    const auto unpadded = [](QString field) {
        while (field.endsWith(kSpace))
            field.chop(1);
        return field;
    };
    PhonebookEntry out = entry;
    out.name = unpadded(fixedField(entry.name, limits.MAXCARNOM));
    out.number = unpadded(fixedField(entry.number, limits.MAXCARNUM));
    return out;
}

PhonebookEntry asWritten(const PhonebookEntry &entry)
{
    PhonebookEntry out = entry;
    out.name = TextRules::trimSpaces(entry.name);
    out.number = TextRules::trimSpaces(entry.number);
    return out;
}

std::optional<Parsed> parse(const QString &line)
{
    return parseAt(line, line.indexOf(kFieldSeparator));
}

std::optional<Parsed> parseAt(const QString &line, qsizetype fieldSeparator)
{
    const qsizetype a = line.indexOf(kPositionSeparator);
    const qsizetype b = fieldSeparator;
    if (a < 0 || b < a || b >= line.size() || line.at(b) != kFieldSeparator)
        return std::nullopt;
    Parsed parsed;
    const QString tag = line.left(a);
    const qsizetype slash = tag.indexOf(QLatin1Char('/'));
    parsed.entry.position = TextRules::leadingNumber(tag);
    parsed.limits.MAXNUMRUB = slash < 0 ? 0 : TextRules::leadingNumber(tag.mid(slash + 1));
    // " Ã  " then the name field up to the space before "³"; " ³ " then the
    // number field to the end.
    parsed.limits.MAXCARNOM = int(qMax<qsizetype>(0, b - a - 4));
    parsed.limits.MAXCARNUM = int(qMax<qsizetype>(0, line.size() - b - 2));
    parsed.entry.name = TextRules::trimSpaces(line.mid(a + 1, qMax<qsizetype>(0, b - a - 2)));
    parsed.entry.number = TextRules::trimSpaces(line.mid(b + 1));
    return parsed;
}

}
