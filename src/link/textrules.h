// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QtGlobal>

#include <algorithm>
#include <limits>

// The few rules by which the program reads numbers and trims fields, the
// same over the phone's bytes and over the list file's text: only the
// space is trimmed (a tab or another blank belongs to the field), and only
// ASCII digits count, however a set may write other digits.
namespace TextRules {

inline char16_t unit(char c)
{
    return char16_t(uchar(c));
}

inline char16_t unit(QChar c)
{
    return c.unicode();
}

template <typename Char>
bool isDigit(Char c)
{
    return unit(c) >= u'0' && unit(c) <= u'9';
}

// True for empty text: a field that may be left out is decimal when empty.
template <typename Text>
bool isDecimal(const Text &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](auto c) { return isDigit(c); });
}

// The digits that open the text after any spaces, as a number ("007" is 7);
// 0 without any, and the largest int for more than an int holds.
template <typename Text>
int leadingNumber(const Text &text)
{
    qsizetype i = 0;
    while (i < text.size() && unit(text.at(i)) == u' ')
        ++i;
    qint64 value = 0;
    for (; i < text.size() && isDigit(text.at(i)); ++i) {
        value = value * 10 + (unit(text.at(i)) - u'0');
        if (value > std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
    }
    return int(value);
}

// The text without the spaces at either end; CR, LF and tabs stay.
template <typename Text>
Text trimSpaces(const Text &text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && unit(text.at(first)) == u' ')
        ++first;
    while (end > first && unit(text.at(end - 1)) == u' ')
        --end;
    return text.mid(first, end - first);
}

} // namespace TextRules
