#include "phonebookanswers.h"

#include "atcommands.h"
#include "phonebookcommands.h"
#include "singlebytecodec.h"

#include <QByteArrayList>
#include <QList>

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace PhonebookAnswers {

namespace {
using AtCommands::kEntryPrefix;
using AtCommands::kQuote;
using AtCommands::kSeparator;
using AtCommands::kStoragePrefix;
constexpr char kSpace = ' ';
constexpr char kRangeOpens = '(';
constexpr char kRangeCloses = ')';
constexpr char kRangeDash = '-';
const QByteArray kNotHidden = QByteArrayLiteral("0");
// What parts the numbers of a date and time stamp ("08/07/04","17:24:55").
constexpr std::string_view kStampSeparators = "/:.,-";

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether every byte is a decimal digit. True for empty text: a field that
// may be left out is decimal when empty.
bool isDecimal(QByteArrayView text)
{
    return std::all_of(text.cbegin(), text.cend(), isDigit);
}

// The digits that open the text after any spaces, as a number; 0 without
// any, and the largest int for more than an int holds.
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

// The first position at or after from that holds no space; the text's
// size when only spaces follow.
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

// The text after prefix on the first line of the answer that opens with it
// (in any case), without the blanks and the CR around it.
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

// The line prefix opens, or, from a phone that sends no prefix, the
// answer's first line that is not blank. The reply has set aside the codes
// the phone slipped in: those carry quotes and commas of their own.
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

// The first double quote at or after from that opens a field, so follows a
// comma with nothing but spaces between; -1 when there is none.
qsizetype fieldOpens(const QByteArray &line, qsizetype from)
{
    for (qsizetype comma = line.indexOf(kSeparator, from); comma >= 0;
         comma = line.indexOf(kSeparator, comma + 1)) {
        const qsizetype at = pastSpaces(line, comma + 1);
        if (at < line.size() && line.at(at) == kQuote)
            return at;
    }
    return -1;
}

// The first double quote at or after from that closes a field, so comes
// before a comma with nothing but spaces between; -1 when there is none.
qsizetype fieldCloses(const QByteArray &line, qsizetype from)
{
    for (qsizetype quote = line.indexOf(kQuote, from); quote >= 0; quote = line.indexOf(kQuote, quote + 1)) {
        const qsizetype at = pastSpaces(line, quote + 1);
        if (at < line.size() && line.at(at) == kSeparator)
            return quote;
    }
    return -1;
}

// The index an entry answer opens with; nullopt when its first field is no
// number. Another command's line ("+CSCS: (...)") never has one.
std::optional<int> leadingIndex(const QByteArray &line)
{
    const qsizetype comma = line.indexOf(kSeparator);
    const QByteArray text = trimSpaces(comma < 0 ? line : line.left(comma));
    // An empty field is no index.
    if (text.isEmpty() || !isDecimal(text))
        return std::nullopt;
    return leadingNumber(text);
}

// The USIM fields in the order of +CPBR after the text.
enum Usim { Hidden, Group, AdNumber, AdType, SecondText, Email, SipUri, TelUri, UsimCount };

bool isNumeric(Usim field)
{
    return field == Hidden || field == AdType;
}

bool isText(Usim field)
{
    return field == Group || field == SecondText || field == Email || field == SipUri || field == TelUri;
}

bool inForm(Usim field, const Field &value)
{
    if (value.value.isEmpty())
        return true;
    if (!isNumeric(field))
        return value.quoted;
    return !value.quoted && isDecimal(value.value);
}

// Digits in two groups or more, one separator between each two.
bool isStampText(const QByteArray &text)
{
    int groups = 0;
    bool inDigits = false;
    for (const char c : text) {
        if (isDigit(c)) {
            groups += inDigits ? 0 : 1;
            inDigits = true;
        } else if (inDigits && kStampSeparators.find(c) != std::string_view::npos) {
            inDigits = false;
        } else {
            return false;
        }
    }
    return inDigits && groups >= 2;
}

// Some phones stamp an entry with the date and time it was stored
// ("08/07/04","17:24:55"): the phone keeps that itself, and +CPBW has no
// place for it, so it is no field of the entry.
bool isTimeStamp(const QList<Field> &values)
{
    return !values.isEmpty() && std::all_of(values.cbegin(), values.cend(), [](const Field &f) {
        return f.quoted && isStampText(f.value);
    });
}

// The values after the name, which must begin with a comma.
std::optional<QList<Field>> usimValues(const QByteArray &rest)
{
    const qsizetype first = pastSpaces(rest, 0);
    if (first == rest.size())
        return QList<Field>();
    if (rest.at(first) != kSeparator)
        return std::nullopt;
    std::optional<QList<Field>> values = fields(rest);
    // The empty value before that comma.
    if (values)
        values->removeFirst();
    return values;
}

// The USIM fields in what an entry answer holds after its name
// (",1,\"FAMIGLIA\",\"393471112233\",145"), or in unknownForm when it is
// not in their form; nullopt when a text is not valid in the set.
std::optional<UsimFields> usimFields(const QByteArray &rest, const PhoneCharset &charset)
{
    const std::optional<QList<Field>> values = usimValues(rest);
    if (values && isTimeStamp(*values))
        return UsimFields();
    UsimFields unknown;
    unknown.unknownForm = SingleByteCodec::decode(rest);
    if (!values || values->size() > UsimCount)
        return unknown;
    for (int f = 0; f < values->size(); ++f) {
        if (!inForm(Usim(f), values->at(f)))
            return unknown;
    }

    std::array<QString, UsimCount> texts;
    for (int f = 0; f < values->size(); ++f) {
        const QByteArray &value = values->at(f).value;
        // Not hidden is what an entry without the field is.
        if (f == Hidden && value == kNotHidden)
            continue;
        if (!isText(Usim(f))) {
            // Digits, and the second number as it stands.
            texts[f] = SingleByteCodec::decode(value);
            continue;
        }
        const std::optional<QString> text = charset.decode(value);
        if (!text)
            return std::nullopt;
        texts[f] = *text;
    }
    return UsimFields{texts[Hidden], texts[Group], texts[AdNumber], texts[AdType], texts[SecondText],
                      texts[Email], texts[SipUri], texts[TelUri], {}};
}

} // namespace

std::optional<PhonebookLimits> parseIndexRange(const QByteArray &answer)
{
    const QByteArray line = answerLine(answer, kEntryPrefix);
    QByteArray bounds;
    qsizetype lengthsStart = -1; // the comma after the range
    if (line.startsWith(kRangeOpens)) {
        const qsizetype close = line.indexOf(kRangeCloses);
        if (close < 0)
            return std::nullopt;
        bounds = line.mid(1, close - 1);
        lengthsStart = pastSpaces(line, close + 1);
    } else {
        // Some older phones leave the parentheses out; the dash then shows
        // that the first field is the range.
        lengthsStart = line.indexOf(kSeparator);
        bounds = line.left(lengthsStart);
        if (lengthsStart < 0 || !bounds.contains(kRangeDash))
            return std::nullopt;
    }
    if (bounds.contains(kRangeOpens) || bounds.contains(kRangeCloses))
        return std::nullopt;
    // The comma that ends the range, the number length, the text length.
    const QByteArrayList lengths = line.mid(lengthsStart).split(kSeparator);
    if (lengths.size() < 3 || !lengths.at(0).isEmpty())
        return std::nullopt;

    PhonebookLimits range;
    range.MAXCARNUM = leadingNumber(lengths.at(1));
    range.MAXCARNOM = leadingNumber(lengths.at(2));
    const qsizetype dash = bounds.indexOf(kRangeDash);
    range.MAXNUMRUB = leadingNumber(dash < 0 ? bounds : bounds.mid(dash + 1));

    if (range.MAXNUMRUB < 1 || range.MAXNUMRUB > kMaxPositions)
        return std::nullopt;
    // A width of 0 would blank every name or number in the list, and the
    // write-back would then store the blanks on the phone.
    if (range.MAXCARNUM < 1 || range.MAXCARNUM > kMaxFieldLength
        || range.MAXCARNOM < 1 || range.MAXCARNOM > kMaxFieldLength)
        return std::nullopt;
    return range;
}

std::optional<int> parseUsedCount(const QByteArray &answer)
{
    const std::optional<QByteArray> line = prefixedLine(answer, kStoragePrefix);
    const std::optional<QList<Field>> values = line ? fields(*line) : std::nullopt;
    if (!values || values->size() < 2 || values->at(1).quoted)
        return std::nullopt;
    bool isNumber = false;
    const int used = values->at(1).value.toInt(&isNumber);
    if (!isNumber || used < 0)
        return std::nullopt;
    return used;
}

std::optional<PhonebookEntry> parseEntry(const QByteArray &answer, const PhoneCharset &charset)
{
    const QByteArray line = answerLine(answer, kEntryPrefix);
    const std::optional<int> index = leadingIndex(line);
    const qsizetype numberOpens = fieldOpens(line, 0);
    if (!index || numberOpens < 0)
        return std::nullopt;
    const qsizetype numberStart = numberOpens + 1;
    const qsizetype numberEnd = fieldCloses(line, numberStart);
    if (numberEnd < 0)
        return std::nullopt;
    // Searching past the comma after the number skips the type.
    const qsizetype typeStart = line.indexOf(kSeparator, numberEnd) + 1;
    const qsizetype typeEnd = line.indexOf(kSeparator, typeStart);
    QByteArray onLine;
    qsizetype restStart = -1; // where the fields after the name begin
    const bool nameQuoted = typeEnd < 0 || line.mid(pastSpaces(line, typeEnd + 1)).startsWith(kQuote);
    if (charset.isHex() && !nameQuoted) {
        // Hex digits need no quotes, and some phones send none.
        const qsizetype nameStart = typeEnd + 1;
        qsizetype nameEnd = line.indexOf(kSeparator, nameStart);
        if (nameEnd < 0)
            nameEnd = line.size();
        onLine = trimSpaces(line.mid(nameStart, nameEnd - nameStart));
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
    const std::optional<UsimFields> usim = usimFields(line.mid(restStart), charset);
    if (!name || !usim)
        return std::nullopt;

    PhonebookEntry entry;
    entry.position = *index;
    entry.number = SingleByteCodec::decode(line.mid(numberStart, numberEnd - numberStart));
    entry.type = leadingNumber(line.mid(typeStart, typeEnd - typeStart));
    entry.name = *name;
    entry.fields = *usim;
    // The line keeps no type: the write-back takes it from the text, and a
    // number without "+" would go back to the phone as a national one.
    if (entry.type == PhonebookCommands::kInternationalType && !entry.number.isEmpty()
        && !entry.number.startsWith(QLatin1Char('+')))
        entry.number.prepend(QLatin1Char('+'));
    return entry;
}

}
