// SPDX-License-Identifier: GPL-3.0-or-later
#include "simcharset.h"

#include "gsmseptets.h"

#include <array>

namespace {

struct Named {
    SimCharset::Set set;
    const char *name;
};

constexpr std::array<Named, 4> kNames = {{
    {SimCharset::Set::Ira, "IRA"},
    {SimCharset::Set::Gsm, "GSM"},
    {SimCharset::Set::Ucs2, "UCS2"},
    {SimCharset::Set::Latin1, "8859-1"},
}};

constexpr char16_t kHighestIra = 0x7F;
constexpr char16_t kHighestLatin1 = 0xFF;
constexpr int kDigitsPerUnit = 4;
constexpr int kBitsPerDigit = 4;
const char kUpperHexDigits[] = "0123456789ABCDEF";
// What goes in place of a character the set lacks.
constexpr char16_t kMissing = u'?';

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::optional<SimCharset> SimCharset::named(const QString &name)
{
    for (const Named &n : kNames) {
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return SimCharset(n.set);
    }
    return std::nullopt;
}

QString SimCharset::name() const
{
    for (const Named &n : kNames) {
        if (n.set == m_set)
            return QLatin1String(n.name);
    }
    return QString();
}

std::optional<QString> SimCharset::toText(const QByteArray &received) const
{
    switch (m_set) {
    case Set::Ira:
        for (const char b : received) {
            if (static_cast<unsigned char>(b) > kHighestIra)
                return std::nullopt;
        }
        return QString::fromLatin1(received);
    case Set::Latin1:
        return QString::fromLatin1(received);
    case Set::Gsm:
        return GsmSeptets::toText(received);
    case Set::Ucs2:
        return ucs2Text(received);
    }
    return std::nullopt;
}

QByteArray SimCharset::toLine(const QString &text) const
{
    if (m_set == Set::Ucs2)
        return ucs2Line(text);
    QByteArray line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // A character beyond the basic plane, a surrogate pair, is one
        // character that no set of one byte a character holds.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const QByteArray bytes = c.isSurrogate() ? QByteArray() : bytesOf(c.unicode());
        line += bytes.isEmpty() ? bytesOf(kMissing) : bytes;
    }
    return line;
}

QByteArray SimCharset::bytesOf(char16_t character) const
{
    switch (m_set) {
    case Set::Ira:
        return character <= kHighestIra ? QByteArray(1, char(character)) : QByteArray();
    case Set::Latin1:
        return character <= kHighestLatin1 ? QByteArray(1, char(character)) : QByteArray();
    case Set::Gsm:
        return GsmSeptets::ofCharacter(character);
    case Set::Ucs2:
        break;
    }
    return {};
}

// Four hex digits a code unit; a character beyond the basic plane comes as
// its surrogate pair, and half a pair is no text.
std::optional<QString> SimCharset::ucs2Text(const QByteArray &digits) const
{
    if (digits.size() % kDigitsPerUnit != 0)
        return std::nullopt;
    QString text;
    for (qsizetype at = 0; at < digits.size(); at += kDigitsPerUnit) {
        char16_t unit = 0;
        for (qsizetype d = at; d < at + kDigitsPerUnit; ++d) {
            const int value = hexValue(digits.at(d));
            if (value < 0)
                return std::nullopt;
            unit = char16_t((unit << kBitsPerDigit) | value);
        }
        text.append(QChar(unit));
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isLowSurrogate())
            return std::nullopt;
        if (text.at(i).isHighSurrogate()) {
            if (i + 1 == text.size() || !text.at(i + 1).isLowSurrogate())
                return std::nullopt;
            ++i;
        }
    }
    return text;
}

QByteArray SimCharset::ucs2Line(const QString &text) const
{
    QByteArray line;
    for (const QChar c : text) {
        for (int shift = (kDigitsPerUnit - 1) * kBitsPerDigit; shift >= 0; shift -= kBitsPerDigit)
            line.append(kUpperHexDigits[(c.unicode() >> shift) & 0xF]);
    }
    return line;
}
