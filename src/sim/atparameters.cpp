// SPDX-License-Identifier: GPL-3.0-or-later
#include "atparameters.h"

namespace {

constexpr char kQuote = '"';
constexpr char kSeparator = ',';

int skipSpaces(const QByteArray &text, int at)
{
    while (at < text.size() && text.at(at) == ' ')
        ++at;
    return at;
}

bool endsParameter(const QByteArray &text, int at)
{
    at = skipSpaces(text, at);
    return at == text.size() || text.at(at) == kSeparator;
}

} // namespace

bool AtParameter::toNumber(int *number) const
{
    if (!present || quoted || value.isEmpty() || value.size() > 9)
        return false;
    for (char c : value) {
        if (c < '0' || c > '9')
            return false;
    }
    *number = value.toInt();
    return true;
}

bool AtParameter::toOptionalNumber(int highest, int *number) const
{
    if (!present)
        return true;
    int given = 0;
    if (!toNumber(&given) || given > highest)
        return false;
    *number = given;
    return true;
}

bool AtParameter::toString(bool quotesRequired, QByteArray *string) const
{
    if (present && !quoted && quotesRequired)
        return false;
    *string = value;
    return true;
}

bool AtParameters::split(const QByteArray &text, QList<AtParameter> *parameters)
{
    parameters->clear();
    int at = skipSpaces(text, 0);
    if (at == text.size())
        return true;
    for (;;) {
        AtParameter parameter;
        at = skipSpaces(text, at);
        if (at < text.size() && text.at(at) == kQuote) {
            int close = at + 1;
            while (close < text.size() && !(text.at(close) == kQuote && endsParameter(text, close + 1)))
                ++close;
            if (close >= text.size())
                return false;
            parameter.present = true;
            parameter.quoted = true;
            parameter.value = text.mid(at + 1, close - at - 1);
            at = skipSpaces(text, close + 1);
        } else {
            while (at < text.size() && text.at(at) != kSeparator) {
                if (text.at(at) == kQuote)
                    return false;
                if (text.at(at) != ' ')
                    parameter.value.append(text.at(at));
                ++at;
            }
            parameter.present = !parameter.value.isEmpty();
        }
        parameters->append(parameter);
        if (at == text.size())
            return true;
        ++at; // the separator
    }
}

bool AtParameters::splitSet(const QByteArray &form, QList<AtParameter> *parameters)
{
    return form.startsWith(kSetForm) && split(form.mid(1), parameters);
}

bool AtParameters::soleString(const QByteArray &form, bool quotesRequired, QByteArray *string)
{
    QList<AtParameter> parameters;
    return splitSet(form, &parameters) && parameters.size() == 1 && parameters.first().present
        && parameters.first().toString(quotesRequired, string);
}

QByteArray AtParameters::quoted(const QByteArray &text)
{
    return kQuote + text + kQuote;
}

QByteArray AtParameters::quotedList(const QList<QByteArray> &values)
{
    QList<QByteArray> items;
    for (const QByteArray &value : values)
        items.append(quoted(value));
    return '(' + items.join(kSeparator) + ')';
}
