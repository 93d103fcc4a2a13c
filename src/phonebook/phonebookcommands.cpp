// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookcommands.h"

#include "atcommands.h"
#include "dialnumber.h"
#include "hexdigit.h"
#include "textrules.h"

#include <algorithm>
#include <array>

namespace PhonebookCommands {

namespace {
using AtCommands::kQuote;
using AtCommands::kSeparator;
using AtCommands::quoted;

bool isHexDigit(char c)
{
    return hexDigitValue(uchar(c)) >= 0;
}

// A control byte is edited or ignored by the phone's command line (V.250),
// a double quote would end the quoted text early, so that the rest of it
// ran as commands of their own, and a backslash before two hex digits is
// one character of the string, not three.
bool travels(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar u = uchar(bytes.at(i));
        if (u < 0x20 || u == 0x7F || u == '"')
            return false;
        if (u == '\\' && i + 2 < bytes.size() && isHexDigit(bytes.at(i + 1)) && isHexDigit(bytes.at(i + 2)))
            return false;
    }
    return true;
}

// A number goes as it stands in every set: printable ASCII that travels.
bool isDialString(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; })
        && travels(text.toLatin1());
}

bool holdsControl(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

// A text as it goes between the quotes, or why it cannot. Control
// characters stay out of texts even where hex digits would carry them: no
// phone shows them, and the list file could not keep them apart.
Refusal textOnLine(const QString &text, const PhoneCharset &charset, QByteArray *line)
{
    if (holdsControl(text))
        return Refusal::NameCannotTravel;
    const std::optional<QByteArray> converted = charset.onLine(text);
    if (!converted)
        return Refusal::NameNotInSet;
    if (!travels(*converted))
        return Refusal::NameCannotTravel;
    *line = *converted;
    return Refusal::None;
}

// What follows the name for these fields, in +CPBW's order: group, second
// number, its type, second text, e-mail, SIP URI, TEL URI, hidden.
Refusal fieldsOnLine(const UsimFields &fields, const PhoneCharset &charset, QByteArray *line)
{
    if (!fields.unknownForm.isEmpty())
        return Refusal::FieldsNotUnderstood;
    // Both numeric fields may be left empty.
    if (!TextRules::isDecimal(fields.hidden) || !TextRules::isDecimal(fields.adType)
        || !isDialString(fields.adNumber))
        return Refusal::FieldCannotTravel;
    const QString adType = asSent(fields).adType;

    enum Kind { Text, AsItStands, Number };
    const std::array<std::pair<const QString &, Kind>, 8> order = {{
        {fields.group, Text}, {fields.adNumber, AsItStands}, {adType, Number},
        {fields.secondText, Text}, {fields.email, Text}, {fields.sipUri, Text},
        {fields.telUri, Text}, {fields.hidden, Number},
    }};
    // Up to the last field that has a value; an empty text before it still
    // goes as "", for the phone that looks for each text's opening quote.
    const auto last = std::find_if(order.crbegin(), order.crend(),
                                   [](const auto &field) { return !field.first.isEmpty(); });
    const qsizetype count = order.crend() - last;
    for (qsizetype i = 0; i < count; ++i) {
        const auto &[value, kind] = order.at(i);
        // The numbers are printable ASCII, checked above.
        QByteArray piece = value.toLatin1();
        if (kind == Text && textOnLine(value, charset, &piece) != Refusal::None)
            return Refusal::FieldCannotTravel;
        *line += kSeparator + (kind == Number ? piece : quoted(piece));
    }
    return Refusal::None;
}

} // namespace

int numberType(const QString &number)
{
    // A SIM that keeps digits only stores the "+" as type 145: any other
    // type loses it. "+39" further in (after a service prefix such as
    // "*31#") stays international too.
    const bool international = number.startsWith(QLatin1Char('+'))
        || number.contains(DialNumber::kHomeCountryCode, Qt::CaseInsensitive);
    return international ? kInternationalType : kNationalType;
}

UsimFields asSent(UsimFields fields)
{
    if (fields.adType.isEmpty() && !fields.adNumber.isEmpty())
        fields.adType = QString::number(numberType(fields.adNumber));
    return fields;
}

WriteCommand writeCommand(const PhonebookEntry &entry, const PhoneCharset &charset,
                          const PhonebookLimits &limits)
{
    const int position = entry.position;
    const QString &number = entry.number;
    const QString &name = entry.name;
    const auto refused = [](Refusal why) { return WriteCommand{QByteArray(), why}; };
    if (position < 1 || position > limits.MAXNUMRUB)
        return refused(Refusal::Position);
    if (name.size() > limits.MAXCARNOM)
        return refused(Refusal::NameTooLong);
    if (number.size() > limits.MAXCARNUM)
        return refused(Refusal::NumberTooLong);
    if (!isDialString(number))
        return refused(Refusal::NumberCannotTravel);
    QByteArray nameOnLine;
    if (const Refusal r = textOnLine(name, charset, &nameOnLine); r != Refusal::None)
        return refused(r);
    QByteArray usim;
    if (const Refusal r = fieldsOnLine(entry.fields, charset, &usim); r != Refusal::None)
        return refused(r);
    // The number is printable ASCII, checked above.
    return {clearCommand(position) + kSeparator + quoted(number.toLatin1()) + kSeparator
                + QByteArray::number(numberType(number)) + kSeparator + quoted(nameOnLine) + usim,
            Refusal::None};
}

QByteArray clearCommand(int position)
{
    return AtCommands::kWrite + QByteArray::number(position);
}

}
