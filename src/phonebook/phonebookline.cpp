#include "phonebookline.h"

#include "atanswer.h"

#include <limits>

namespace PhonebookLine {

namespace {
const QString kTagSeparator = QStringLiteral(" ") + kPositionSeparator + QStringLiteral(" ");
const QString kFieldSeparatorText = QStringLiteral(" ") + kFieldSeparator + QStringLiteral(" ");
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
    return text.left(kept).leftJustified(width, QLatin1Char(' '));
}

QString build(int position, const QString &name, const QString &number,
              Layout layout, const Limits &limits)
{
    QString line = positionTag(position, limits.maxNumRub) + kTagSeparator;
    if (layout == Layout::Sorted)
        line += QLatin1Char(' ');
    line += fixedField(name, limits.maxCarNom);
    line += kFieldSeparatorText;
    line += fixedField(number, limits.maxCarNum);
    return line;
}

QString emptySlot(int position, Layout layout, const Limits &limits)
{
    return build(position, QString(), QString(), layout, limits);
}

QString emptySlotTail(const Limits &limits)
{
    return fixedField(QString(), limits.maxCarNom) + kFieldSeparatorText
        + fixedField(QString(), limits.maxCarNum);
}

int leadingNumber(const QString &text)
{
    int i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    qint64 value = 0;
    for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 0x80; ++i) {
        value = value * 10 + text.at(i).digitValue();
        if (value > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
    }
    return int(value);
}

Split split(const QString &line)
{
    Split result;
    const qsizetype a = line.indexOf(kPositionSeparator);
    const qsizetype b = line.indexOf(kFieldSeparator);
    if (a < 0 || b < 0 || b < a)
        return result;
    result.valid = true;
    result.tag = line.left(a);
    // The name stops short of the space that opens " ³ ". Only the space is
    // trimmed: a tab or another blank belongs to the field.
    result.name = AtAnswer::trimSpaces(line.mid(a + 1, qMax<qsizetype>(0, b - a - 2)));
    result.number = AtAnswer::trimSpaces(line.mid(b + 1));
    return result;
}

int positionFromTag(const QString &tagText, int maxNumRub)
{
    return leadingNumber(tagText.left(indexWidth(maxNumRub)));
}

}
