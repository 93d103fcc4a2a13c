#include "phonebookanswers.h"

#include "atanswer.h"
#include "atcommands.h"
#include "phonebookcommands.h"
#include "phonebookline.h"
#include "usimanswer.h"

#include <QStringList>

#include <algorithm>

namespace PhonebookAnswers {

namespace {
using AtCommands::kEntryPrefix;
using AtCommands::kStoragePrefix;
constexpr QChar kComma(u',');
constexpr QChar kQuote(u'"');
constexpr QChar kRangeOpens(u'(');
constexpr QChar kRangeCloses(u')');
constexpr QChar kRangeDash(u'-');

// The text of the answer's line that prefix opens, or, from a phone that
// sends no prefix, its first line that is neither blank nor an unsolicited
// result code (a call, a message, a network change): those carry quotes
// and commas of their own, so they must never be read as the answer.
QString answerLine(const QString &answer, const QString &prefix)
{
    if (const std::optional<QString> line = AtAnswer::lineWithPrefix(answer, prefix))
        return *line;
    for (const QString &raw : answer.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (!line.isEmpty() && !AtAnswer::isUnsolicited(line))
            return line;
    }
    return QString();
}

// The first double quote at or after from that opens a field, so follows a
// comma with nothing but spaces between; -1 when there is none.
qsizetype fieldOpens(const QString &line, qsizetype from)
{
    for (qsizetype comma = line.indexOf(kComma, from); comma >= 0; comma = line.indexOf(kComma, comma + 1)) {
        const qsizetype at = AtAnswer::pastSpaces(line, comma + 1);
        if (at < line.size() && line.at(at) == kQuote)
            return at;
    }
    return -1;
}

// The first double quote at or after from that closes a field, so comes
// before a comma with nothing but spaces between; -1 when there is none.
qsizetype fieldCloses(const QString &line, qsizetype from)
{
    for (qsizetype quote = line.indexOf(kQuote, from); quote >= 0; quote = line.indexOf(kQuote, quote + 1)) {
        const qsizetype at = AtAnswer::pastSpaces(line, quote + 1);
        if (at < line.size() && line.at(at) == kComma)
            return quote;
    }
    return -1;
}

// The index an entry answer opens with; nullopt when its first field is no
// number. Another command's line ("+CSCS: (...)") never has one.
std::optional<int> leadingIndex(const QString &line)
{
    const qsizetype comma = line.indexOf(kComma);
    const QString text = AtAnswer::trimSpaces(comma < 0 ? line : line.left(comma));
    // An empty field is no index.
    if (text.isEmpty() || !AtAnswer::isDecimal(text))
        return std::nullopt;
    return PhonebookLine::leadingNumber(text);
}
}

std::optional<IndexRange> parseIndexRange(const QString &answer)
{
    const QString line = answerLine(answer, kEntryPrefix);
    QString bounds;
    qsizetype lengthsStart = -1; // the comma after the range
    if (line.startsWith(kRangeOpens)) {
        const qsizetype close = line.indexOf(kRangeCloses);
        if (close < 0)
            return std::nullopt;
        bounds = line.mid(1, close - 1);
        lengthsStart = AtAnswer::pastSpaces(line, close + 1);
    } else {
        // Some older phones leave the parentheses out; the dash then shows
        // that the first field is the range.
        lengthsStart = line.indexOf(kComma);
        bounds = line.left(lengthsStart);
        if (lengthsStart < 0 || !bounds.contains(kRangeDash))
            return std::nullopt;
    }
    if (bounds.contains(kRangeOpens) || bounds.contains(kRangeCloses))
        return std::nullopt;
    // The comma that ends the range, the number length, the text length.
    const QStringList lengths = line.mid(lengthsStart).split(kComma);
    if (lengths.size() < 3 || !lengths.at(0).isEmpty())
        return std::nullopt;

    IndexRange range;
    range.maxCarNum = PhonebookLine::leadingNumber(lengths.at(1));
    range.maxCarNom = PhonebookLine::leadingNumber(lengths.at(2));
    const qsizetype dash = bounds.indexOf(kRangeDash);
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
    const QStringList fields = line->split(kComma);
    if (fields.size() < 2)
        return std::nullopt;
    bool isNumber = false;
    const int used = fields.at(1).trimmed().toInt(&isNumber);
    if (!isNumber || used < 0)
        return std::nullopt;
    return used;
}

std::optional<PhonebookEntry> parseEntry(const QString &answer, const PhoneCharset &charset)
{
    const QString line = answerLine(answer, kEntryPrefix);
    const std::optional<int> index = leadingIndex(line);
    const qsizetype numberOpens = fieldOpens(line, 0);
    if (!index || numberOpens < 0)
        return std::nullopt;
    const qsizetype numberStart = numberOpens + 1;
    const qsizetype numberEnd = fieldCloses(line, numberStart);
    if (numberEnd < 0)
        return std::nullopt;
    // Searching past the comma after the number skips the type.
    const qsizetype typeStart = line.indexOf(kComma, numberEnd) + 1;
    const qsizetype typeEnd = line.indexOf(kComma, typeStart);
    QString onLine;
    qsizetype restStart = -1; // where the fields after the name begin
    const bool nameQuoted = typeEnd < 0 || line.mid(AtAnswer::pastSpaces(line, typeEnd + 1)).startsWith(kQuote);
    if (charset.isHex() && !nameQuoted) {
        // Hex digits need no quotes, and some phones send none.
        const qsizetype nameStart = typeEnd + 1;
        qsizetype nameEnd = line.indexOf(kComma, nameStart);
        if (nameEnd < 0)
            nameEnd = line.size();
        onLine = AtAnswer::trimSpaces(line.mid(nameStart, nameEnd - nameStart));
        restStart = nameEnd;
    } else {
        const qsizetype nameOpens = fieldOpens(line, typeStart);
        if (nameOpens < 0)
            return std::nullopt;
        const qsizetype nameStart = nameOpens + 1;
        const qsizetype nameEnd = line.indexOf(kQuote, nameStart);
        if (nameEnd < 0)
            return std::nullopt;
        onLine = line.mid(nameStart, nameEnd - nameStart);
        restStart = nameEnd + 1;
    }
    const std::optional<QString> name = charset.decode(onLine);
    const std::optional<UsimFields> fields = UsimAnswer::parseFields(line.mid(restStart), charset);
    if (!name || !fields)
        return std::nullopt;

    PhonebookEntry entry;
    entry.position = *index;
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
