// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookanswers.h"

#include "answerfields.h"
#include "atcommands.h"
#include "textrules.h"
#include "phonebookcommands.h"
#include "singlebytecodec.h"

#include <QByteArrayList>
#include <QList>

#include <algorithm>
#include <array>
#include <string_view>

namespace PhonebookAnswers {

namespace {
using AnswerFields::answerLine;
using AnswerFields::Field;
using AnswerFields::fields;
using AnswerFields::pastSpaces;
using AnswerFields::prefixedLine;
using AtCommands::kEntryPrefix;
using TextRules::isDecimal;
using TextRules::isDigit;
using TextRules::leadingNumber;
using TextRules::trimSpaces;
using AtCommands::kQuote;
using AtCommands::kSeparator;
using AtCommands::kStoragePrefix;
using AtCommands::kWritePrefix;
constexpr char kRangeOpens = '(';
constexpr char kRangeCloses = ')';
constexpr char kRangeDash = '-';
const QByteArray kNotHidden = QByteArrayLiteral("0");
// What parts the numbers of a date and time stamp ("08/07/04","17:24:55").
constexpr std::string_view kStampSeparators = "/:.,-";

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

// Whether the number types stand between the two lengths of a test
// command's answer: those of +CPBW=? do.
enum class Types { Absent, BetweenLengths };

// The types field of +CPBW=?'s answer, "(129,145)", whose commas are its
// own, taken out of what follows the range; a bare type stays as it is.
// Nullopt when its parenthesis is not closed.
std::optional<QByteArray> withoutTypeList(const QByteArray &lengths)
{
    // The comma after the range, the number length, the comma after it.
    const qsizetype numberEnds = lengths.indexOf(kSeparator, lengths.indexOf(kSeparator) + 1);
    if (numberEnds < 0)
        return lengths;
    const qsizetype opens = pastSpaces(lengths, numberEnds + 1);
    if (opens == lengths.size() || lengths.at(opens) != kRangeOpens)
        return lengths;
    const qsizetype closes = lengths.indexOf(kRangeCloses, opens);
    if (closes < 0)
        return std::nullopt;
    return lengths.left(opens) + lengths.mid(closes + 1);
}

// The range and the lengths that open the answer line of a test command:
// "(1-250),40,18" for +CPBR=?, "(1-250),40,(129,145),18" for +CPBW=?.
std::optional<PhonebookLimits> rangeAndLengths(const QByteArray &line, Types types)
{
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
    std::optional<QByteArray> rest = line.mid(lengthsStart);
    if (types == Types::BetweenLengths)
        rest = withoutTypeList(*rest);
    if (!rest)
        return std::nullopt;
    // The comma that ends the range, the number length, the types where
    // they stand, the text length.
    const QByteArrayList lengths = rest->split(kSeparator);
    const qsizetype textField = types == Types::BetweenLengths ? 3 : 2;
    if (lengths.size() <= textField || !lengths.at(0).isEmpty())
        return std::nullopt;
    if (types == Types::BetweenLengths && !isDecimal(trimSpaces(lengths.at(2))))
        return std::nullopt;

    PhonebookLimits range;
    range.MAXCARNUM = leadingNumber(lengths.at(1));
    range.MAXCARNOM = leadingNumber(lengths.at(textField));
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

// The fields of +CPBS?'s answer, "+CPBS: \"SM\",46,250", after the storage.
enum class StorageField { Used = 1, Total = 2 };

// A count of the answer to +CPBS?; nullopt when the answer has no "+CPBS:"
// line or the field is no number.
std::optional<int> storageCount(const QByteArray &answer, StorageField field)
{
    const int at = int(field);
    const std::optional<QByteArray> line = prefixedLine(answer, kStoragePrefix);
    const std::optional<QList<Field>> values = line ? fields(*line) : std::nullopt;
    if (!values || values->size() <= at || values->at(at).quoted)
        return std::nullopt;
    bool isNumber = false;
    const int count = values->at(at).value.toInt(&isNumber);
    if (!isNumber || count < 0)
        return std::nullopt;
    return count;
}

} // namespace

std::optional<PhonebookLimits> parseIndexRange(const QByteArray &answer)
{
    return rangeAndLengths(answerLine(answer, kEntryPrefix), Types::Absent);
}

std::optional<PhonebookLimits> parseWriteRange(const QByteArray &answer)
{
    return rangeAndLengths(answerLine(answer, kWritePrefix), Types::BetweenLengths);
}

std::optional<int> parseUsedCount(const QByteArray &answer)
{
    return storageCount(answer, StorageField::Used);
}

std::optional<int> parseStorageSize(const QByteArray &answer)
{
    const std::optional<int> total = storageCount(answer, StorageField::Total);
    if (!total || *total < 1 || *total > kMaxPositions)
        return std::nullopt;
    return total;
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
