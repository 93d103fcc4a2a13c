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
