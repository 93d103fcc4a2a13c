// SPDX-License-Identifier: GPL-3.0-or-later
#include "singlebytecodec.h"

#include <array>

namespace {

// Characters of the bytes 0x80 to 0x9F; a byte left undefined by the code
// page maps to the C1 control character of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Characters the code page lacks come out as this.
constexpr char kMissing = '?';

char encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return kMissing;
}

} // namespace

QByteArray SingleByteCodec::encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        // A character outside the basic plane is one unit too many: one '?'.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        out.append(encodeOne(ch.unicode()));
    }
    return out;
}

bool SingleByteCodec::canEncode(const QString &text)
{
    for (const QChar ch : text) {
        if (ch.isSurrogate() || (ch != QLatin1Char(kMissing) && encodeOne(ch.unicode()) == kMissing))
            return false;
    }
    return true;
}

QString SingleByteCodec::decode(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *dst++ = (u >= 0x80 && u < 0xA0) ? QChar(kHighControls[u - 0x80]) : QChar(char16_t(u));
    }
    return out;
}
