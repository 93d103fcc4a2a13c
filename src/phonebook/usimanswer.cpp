#include "usimanswer.h"

#include "atanswer.h"

#include <QList>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace {

constexpr QChar kComma(u',');
constexpr QChar kQuote(u'"');
const QString kNotHidden = QStringLiteral("0");

// The order of +CPBR after the text.
enum Field { Hidden, Group, AdNumber, AdType, SecondText, Email, SipUri, TelUri, FieldCount };

struct Token {
    bool quoted = false;
    QString value;
};

// The comma-separated values of rest, which must begin with a comma; a
// quoted value ends at its closing quote. Spaces around the commas are no
// part of a value, those inside quotes are.
std::optional<QList<Token>> tokens(const QString &rest)
{
    QList<Token> out;
    qsizetype at = AtAnswer::pastSpaces(rest, 0);
    while (at < rest.size()) {
        if (rest.at(at) != kComma)
            return std::nullopt;
        at = AtAnswer::pastSpaces(rest, at + 1);
        Token token;
        if (at < rest.size() && rest.at(at) == kQuote) {
            const qsizetype close = rest.indexOf(kQuote, at + 1);
            if (close < 0)
                return std::nullopt;
            token.quoted = true;
            token.value = rest.mid(at + 1, close - at - 1);
            at = AtAnswer::pastSpaces(rest, close + 1);
        } else {
            const qsizetype end = rest.indexOf(kComma, at);
            token.value = rest.mid(at, (end < 0 ? rest.size() : end) - at).trimmed();
            at = end < 0 ? rest.size() : end;
        }
        out.append(token);
    }
    return out;
}

bool isNumeric(Field field)
{
    return field == Hidden || field == AdType;
}

bool isText(Field field)
{
    return field == Group || field == SecondText || field == Email || field == SipUri || field == TelUri;
}

bool inForm(Field field, const Token &token)
{
    if (token.value.isEmpty())
        return true;
    if (!isNumeric(field))
        return token.quoted;
    if (token.quoted)
        return false;
    for (const QChar c : token.value) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Some phones stamp an entry with the date and time it was stored
// ("08/07/04","17:24:55"): the phone keeps that itself, and +CPBW has no
// place for it, so it is no field of the entry.
bool isTimeStamp(const QList<Token> &values)
{
    static const QRegularExpression stamp(QStringLiteral("^[0-9]+([/:.,-][0-9]+)+$"));
    return !values.isEmpty() && std::all_of(values.cbegin(), values.cend(), [](const Token &t) {
        return t.quoted && stamp.match(t.value).hasMatch();
    });
}

using Values = std::array<QString, FieldCount>;

UsimFields fieldsOf(const Values &v)
{
    return {v[Hidden], v[Group], v[AdNumber], v[AdType], v[SecondText], v[Email], v[SipUri], v[TelUri], {}};
}

} // namespace

namespace UsimAnswer {

std::optional<UsimFields> parseFields(const QString &rest, const PhoneCharset &charset)
{
    const std::optional<QList<Token>> values = tokens(rest);
    if (values && isTimeStamp(*values))
        return UsimFields();
    UsimFields unknown;
    unknown.unknownForm = rest;
    if (!values || values->size() > FieldCount)
        return unknown;
    for (int f = 0; f < values->size(); ++f) {
        if (!inForm(Field(f), values->at(f)))
            return unknown;
    }

    Values texts;
    for (int f = 0; f < values->size(); ++f) {
        texts[f] = values->at(f).value;
        if (isText(Field(f))) {
            const std::optional<QString> text = charset.decode(texts[f]);
            if (!text)
                return std::nullopt;
            texts[f] = *text;
        }
    }
    // Not hidden is what an entry without the field is.
    if (texts[Hidden] == kNotHidden)
        texts[Hidden].clear();
    return fieldsOf(texts);
}

}
