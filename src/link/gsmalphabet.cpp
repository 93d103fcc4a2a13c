// SPDX-License-Identifier: GPL-3.0-or-later
#include "gsmalphabet.h"

#include <array>

namespace {

constexpr char kEscape = 0x1B;
// The escape septet itself has no character of its own.
constexpr char16_t kNone = 0xFFFF;

constexpr std::array<char16_t, 128> kBasic = {
    u'@',   u'£',   u'$',   u'¥',   u'è',   u'é',   u'ù',   u'ì',
    u'ò',   u'Ç',   u'\n',  u'Ø',   u'ø',   u'\r',  u'Å',   u'å',
    u'Δ',   u'_',   u'Φ',   u'Γ',   u'Λ',   u'Ω',   u'Π',   u'Ψ',
    u'Σ',   u'Θ',   u'Ξ',   kNone,  u'Æ',   u'æ',   u'ß',   u'É',
    u' ',   u'!',   u'"',   u'#',   u'¤',   u'%',   u'&',   u'\'',
    u'(',   u')',   u'*',   u'+',   u',',   u'-',   u'.',   u'/',
    u'0',   u'1',   u'2',   u'3',   u'4',   u'5',   u'6',   u'7',
    u'8',   u'9',   u':',   u';',   u'<',   u'=',   u'>',   u'?',
    u'¡',   u'A',   u'B',   u'C',   u'D',   u'E',   u'F',   u'G',
    u'H',   u'I',   u'J',   u'K',   u'L',   u'M',   u'N',   u'O',
    u'P',   u'Q',   u'R',   u'S',   u'T',   u'U',   u'V',   u'W',
    u'X',   u'Y',   u'Z',   u'Ä',   u'Ö',   u'Ñ',   u'Ü',   u'§',
    u'¿',   u'a',   u'b',   u'c',   u'd',   u'e',   u'f',   u'g',
    u'h',   u'i',   u'j',   u'k',   u'l',   u'm',   u'n',   u'o',
    u'p',   u'q',   u'r',   u's',   u't',   u'u',   u'v',   u'w',
    u'x',   u'y',   u'z',   u'ä',   u'ö',   u'ñ',   u'ü',   u'à',
};

struct Escaped {
    char septet;
    char16_t character;
};

constexpr std::array<Escaped, 10> kExtension = {{
    {0x0A, u'\f'}, {0x14, u'^'}, {0x28, u'{'}, {0x29, u'}'}, {0x2F, u'\\'},
    {0x3C, u'['},  {0x3D, u'~'}, {0x3E, u']'}, {0x40, u'|'}, {0x65, u'€'},
}};

} // namespace

namespace GsmAlphabet {

std::optional<QString> decode(const QByteArray &septets)
{
    QString text;
    text.reserve(septets.size());
    for (qsizetype i = 0; i < septets.size(); ++i) {
        const auto septet = static_cast<unsigned char>(septets.at(i));
        if (septet >= kBasic.size())
            return std::nullopt;
        if (septet != kEscape) {
            text.append(QChar(kBasic[septet]));
            continue;
        }
        if (++i == septets.size())
            return std::nullopt;
        const char next = septets.at(i);
        bool known = false;
        for (const Escaped &e : kExtension) {
            if (e.septet == next) {
                text.append(QChar(e.character));
                known = true;
                break;
            }
        }
        // An escape the table lacks shows the septet's own character.
        if (!known) {
            if (uchar(next) >= kBasic.size() || next == kEscape)
                return std::nullopt;
            text.append(QChar(kBasic[uchar(next)]));
        }
    }
    return text;
}

std::optional<QByteArray> encode(const QString &text)
{
    QByteArray septets;
    septets.reserve(text.size());
    for (const QChar c : text) {
        bool found = false;
        for (std::size_t s = 0; s < kBasic.size() && !found; ++s) {
            if (kBasic[s] == c.unicode()) {
                septets.append(char(s));
                found = true;
            }
        }
        for (std::size_t e = 0; e < kExtension.size() && !found; ++e) {
            if (kExtension[e].character == c.unicode()) {
                septets.append(kEscape);
                septets.append(kExtension[e].septet);
                found = true;
            }
        }
        if (!found)
            return std::nullopt;
    }
    return septets;
}

}
