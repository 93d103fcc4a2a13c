// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonecharset.h"

#include "gsmalphabet.h"
#include "hexdigit.h"
#include "pc437codec.h"
#include "singlebytecodec.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace {

struct Named {
    PhoneCharset::Set set;
    const char *name;
};

constexpr std::array<Named, 7> kNames = {{
    {PhoneCharset::Set::Ira, "IRA"},
    {PhoneCharset::Set::Latin1, "8859-1"},
    {PhoneCharset::Set::Pc437, "PCCP437"},
    {PhoneCharset::Set::Utf8, "UTF-8"},
    {PhoneCharset::Set::Ucs2, "UCS2"},
    {PhoneCharset::Set::Gsm, "GSM"},
    {PhoneCharset::Set::Hex, "HEX"},
}};

// A name is converted whole, and a byte-order mark at its start is part of it.
constexpr auto kWholeText = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;
constexpr int kUcs2Digits = 4;
constexpr int kHexDigits = 2;

// Hex digits in groups of width, each group one value.
std::optional<QList<uint>> hexGroups(const QByteArray &digits, int width)
{
    if (digits.size() % width != 0)
        return std::nullopt;
    QList<uint> values;
    values.reserve(digits.size() / width);
    for (qsizetype i = 0; i < digits.size(); i += width) {
        uint value = 0;
        for (qsizetype d = i; d < i + width; ++d) {
            const int digit = hexDigitValue(uchar(digits.at(d)));
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + uint(digit);
        }
        values.append(value);
    }
    return values;
}

QByteArray hexOf(uint value, int width)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(width, '0');
}

std::optional<QString> convertedBy(QStringDecoder decoder, const QByteArray &bytes)
{
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QByteArray> latin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return std::nullopt;
    }
    return text.toLatin1();
}

std::optional<QByteArray> windows1252(const QString &text)
{
    if (!SingleByteCodec::canEncode(text))
        return std::nullopt;
    return SingleByteCodec::encode(text);
}

} // namespace

std::optional<PhoneCharset> PhoneCharset::named(const QByteArray &name)
{
    for (const Named &n : kNames) {
        if (name.compare(n.name, Qt::CaseInsensitive) == 0)
            return PhoneCharset(n.set);
    }
    return std::nullopt;
}

QByteArray PhoneCharset::name() const
{
    for (const Named &n : kNames) {
        if (n.set == m_set)
            return n.name;
    }
    return QByteArray();
}

std::optional<QString> PhoneCharset::decode(const QByteArray &received) const
{
    switch (m_set) {
    case Set::Windows1252:
    case Set::Ira:
        return SingleByteCodec::decode(received);
    case Set::Latin1:
        return QString::fromLatin1(received);
    case Set::Pc437:
        return Pc437Codec::decode(received);
    case Set::Utf8:
        return convertedBy(QStringDecoder(QStringDecoder::Utf8, kWholeText), received);
    case Set::Gsm:
        return GsmAlphabet::decode(received);
    case Set::Ucs2: {
        const auto units = hexGroups(received, kUcs2Digits);
        if (!units)
            return std::nullopt;
        QString text;
        text.reserve(units->size());
        for (const uint unit : *units)
            text.append(QChar(char16_t(unit)));
        // A character beyond the basic plane comes as its surrogate pair;
        // half of one is no character, and the list file could not hold it.
        if (!text.isValidUtf16())
            return std::nullopt;
        return text;
    }
    case Set::Hex: {
        const auto values = hexGroups(received, kHexDigits);
        if (!values)
            return std::nullopt;
        QByteArray text;
        for (const uint value : *values) {
            // The phone may end the text as a C string.
            if (value == 0)
                break;
            text.append(char(value));
        }
        return SingleByteCodec::decode(text);
    }
    }
    return std::nullopt;
}

std::optional<QByteArray> PhoneCharset::onLine(const QString &text) const
{
    // Half a surrogate pair (an edit box may cut one) is no character in
    // any set; UTF-8 would silently send a replacement for it.
    if (!text.isValidUtf16())
        return std::nullopt;
    switch (m_set) {
    case Set::Windows1252:
        return windows1252(text);
    case Set::Ira:
        // IRA is 7-bit: a phone in it would store another character for an
        // eighth bit, or refuse the write.
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7F; }))
            return std::nullopt;
        return text.toLatin1();
    case Set::Latin1:
        return latin1(text);
    case Set::Pc437:
        return Pc437Codec::encode(text);
    case Set::Utf8:
        return text.toUtf8();
    case Set::Gsm:
        return GsmAlphabet::encode(text);
    case Set::Ucs2: {
        // A character beyond the basic plane goes as the phone sends it: its
        // surrogate pair.
        QByteArray digits;
        for (const QChar c : text)
            digits += hexOf(c.unicode(), kUcs2Digits);
        return digits;
    }
    case Set::Hex: {
        const auto eightBit = windows1252(text);
        if (!eightBit)
            return std::nullopt;
        QByteArray digits;
        for (const char b : *eightBit)
            digits += hexOf(uchar(b), kHexDigits);
        return digits;
    }
    }
    return std::nullopt;
}
