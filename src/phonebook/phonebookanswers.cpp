#include "phonebookanswers.h"

#include "atanswer.h"
#include "phonebookcommands.h"
#include "phonebookline.h"
#include "usimanswer.h"

#include <QStringList>

namespace PhonebookAnswers {

namespace {
const QString kEntryPrefix = QStringLiteral("+CPBR:");
const QString kStoragePrefix = QStringLiteral("+CPBS:");
const QLatin1String kQuoteOpens(",\"");
const QLatin1String kQuoteCloses("\",");

// The entry line's text, or, from a phone that sends no prefix, the lines
// that are neither unsolicited result codes (a call, a message, a network
// change) nor the information text of another command: both carry quotes
// and commas of their own, so they must never be read as the entry.
QString entryText(const QString &answer)
{
    if (const std::optional<QString> line = AtAnswer::lineWithPrefix(answer, kEntryPrefix))
        return *line;
    QStringList rest;
    for (const QString &raw : answer.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (!AtAnswer::isUnsolicited(line) && !line.startsWith(QLatin1Char('+')))
            rest.append(line);
    }
    return rest.join(QLatin1Char('\n'));
}
}

std::optional<IndexRange> parseIndexRange(const QString &answer)
{
    const qsizetype open = answer.indexOf(QLatin1Char('('));
    if (open < 0)
        return std::nullopt;
    const qsizetype rangeStart = open + 1;
    const qsizetype close = answer.indexOf(QLatin1Char(')'));
    if (close < rangeStart)
        return std::nullopt;
    // The number length starts past ")" and the comma after it and runs to
    // the next comma; the text length follows that comma.
    const qsizetype numberStart = close + 2;
    const qsizetype numberEnd = answer.indexOf(QLatin1Char(','), numberStart);
    if (numberEnd < 0)
        return std::nullopt;

    IndexRange range;
    range.maxCarNum = PhonebookLine::leadingNumber(answer.mid(numberStart, numberEnd - numberStart));
    range.maxCarNom = PhonebookLine::leadingNumber(answer.mid(numberEnd + 1));
    const QString bounds = answer.mid(rangeStart, close - rangeStart);
    const qsizetype dash = bounds.indexOf(QLatin1Char('-'));
    range.maxNumRub = PhonebookLine::leadingNumber(dash < 0 ? bounds : bounds.mid(dash + 1));

    if (range.maxNumRub < 1 || range.maxNumRub > kMaxPositions)
        return std::nullopt;
    // A width of 0 would blank every name or number in the list, and the
    // write-back would then store the blanks on the phone.
    if (range.maxCarNum < 1 || range.maxCarNum > kMaxFieldLength
        || range.maxCarNom < 1 || range.maxCarNom > kMaxFieldLength)
        return std::nullopt;
    return range;
}

std::optional<int> parseUsedCount(const QString &answer)
{
    const std::optional<QString> line = AtAnswer::lineWithPrefix(answer, kStoragePrefix);
    if (!line)
        return std::nullopt;
    // The storage name is a quoted "SM" or "ME": no comma inside.
    const QStringList fields = line->split(QLatin1Char(','));
    if (fields.size() < 2)
        return std::nullopt;
    bool isNumber = false;
    const int used = fields.at(1).trimmed().toInt(&isNumber);
    if (!isNumber || used < 0)
        return std::nullopt;
    return used;
}

std::optional<Entry> parseEntry(const QString &answer, const PhoneCharset &charset)
{
    const QString line = entryText(answer);

    const qsizetype numberOpens = line.indexOf(kQuoteOpens);
    if (numberOpens < 0)
        return std::nullopt;
    const qsizetype numberStart = numberOpens + 2;
    const qsizetype numberEnd = line.indexOf(kQuoteCloses, numberStart);
    if (numberEnd < 0)
        return std::nullopt;
    // Searching past the number's closing quote and comma skips the type.
    const qsizetype typeStart = numberEnd + 2;
    const qsizetype typeEnd = line.indexOf(QLatin1Char(','), typeStart);
    qsizetype nameStart = -1;
    qsizetype nameEnd = -1;
    qsizetype restStart = -1; // where the fields after the name begin
    if (charset.isHex() && typeEnd >= 0 && !line.mid(typeEnd + 1).startsWith(QLatin1Char('"'))) {
        // Hex digits need no quotes, and some phones send none.
        nameStart = typeEnd + 1;
        nameEnd = line.indexOf(QLatin1Char(','), nameStart);
        if (nameEnd < 0)
            nameEnd = line.size();
        restStart = nameEnd;
    } else {
        const qsizetype nameOpens = line.indexOf(kQuoteOpens, typeStart);
        if (nameOpens < 0)
            return std::nullopt;
        nameStart = nameOpens + 2;
        nameEnd = line.indexOf(QLatin1Char('"'), nameStart);
        if (nameEnd < 0)
            return std::nullopt;
        restStart = nameEnd + 1;
    }
    const std::optional<QString> name = charset.decode(line.mid(nameStart, nameEnd - nameStart));
    const std::optional<UsimFields> fields = UsimAnswer::parseFields(line.mid(restStart), charset);
    if (!name || !fields)
        return std::nullopt;

    Entry entry;
    entry.number = line.mid(numberStart, numberEnd - numberStart);
    entry.type = PhonebookLine::leadingNumber(line.mid(typeStart, typeEnd - typeStart));
    entry.name = *name;
    entry.fields = *fields;
    // The line keeps no type: the write-back takes it from the text, and a
    // number without "+" would go back to the phone as a national one.
    if (entry.type == PhonebookCommands::kInternationalType && !entry.number.isEmpty()
        && !entry.number.startsWith(QLatin1Char('+')))
        entry.number.prepend(QLatin1Char('+'));
    return entry;
}

}
