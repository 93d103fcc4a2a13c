// SPDX-License-Identifier: GPL-3.0-or-later
#include "gsmseptets.h"

#include <array>

namespace {

constexpr std::size_t kSeptets = 128;
// The septet that gives the next one the meaning of the extension table.
constexpr char kEscape = 0x1B;
// What the table holds for the escape, which is no character.
constexpr char16_t kNoCharacter = 0xFFFF;

// The default alphabet, sixteen septets a row: 0x00 to 0x0F, 0x10 to 0x1F ...
constexpr std::array<char16_t, kSeptets> kDefault = {
    u'@', u'£', u'$', u'¥', u'è', u'é', u'ù', u'ì', u'ò', u'Ç', u'\n', u'Ø', u'ø', u'\r', u'Å', u'å',
    u'Δ', u'_', u'Φ', u'Γ', u'Λ', u'Ω', u'Π', u'Ψ', u'Σ', u'Θ', u'Ξ', kNoCharacter, u'Æ', u'æ', u'ß', u'É',
    u' ', u'!', u'"', u'#', u'¤', u'%', u'&', u'\'', u'(', u')', u'*', u'+', u',', u'-', u'.', u'/',
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u':', u';', u'<', u'=', u'>', u'?',
    u'¡', u'A', u'B', u'C', u'D', u'E', u'F', u'G', u'H', u'I', u'J', u'K', u'L', u'M', u'N', u'O',
    u'P', u'Q', u'R', u'S', u'T', u'U', u'V', u'W', u'X', u'Y', u'Z', u'Ä', u'Ö', u'Ñ', u'Ü', u'§',
    u'¿', u'a', u'b', u'c', u'd', u'e', u'f', u'g', u'h', u'i', u'j', u'k', u'l', u'm', u'n', u'o',
    u'p', u'q', u'r', u's', u't', u'u', u'v', u'w', u'x', u'y', u'z', u'ä', u'ö', u'ñ', u'ü', u'à',
};

struct Extension {
    char septet;
    char16_t character;
};

// The characters reached through the escape.
constexpr std::array<Extension, 10> kExtensions = {{
    {0x0A, u'\f'},
    {0x14, u'^'},
    {0x28, u'{'},
    {0x29, u'}'},
    {0x2F, u'\\'},
    {0x3C, u'['},
    {0x3D, u'~'},
    {0x3E, u']'},
    {0x40, u'|'},
    {0x65, u'€'},
}};

std::optional<char16_t> escaped(char septet)
{
    for (const Extension &extension : kExtensions) {
        if (extension.septet == septet)
            return extension.character;
    }
    // 23.038: a receiver that meets an escape it does not know shows the
    // character of the default alphabet instead.
    if (kDefault[std::size_t(septet)] != kNoCharacter)
        return kDefault[std::size_t(septet)];
    return std::nullopt;
}

} // namespace

std::optional<QString> GsmSeptets::toText(const QByteArray &septets)
{
    QString text;
    for (qsizetype i = 0; i < septets.size(); ++i) {
        const auto septet = static_cast<unsigned char>(septets.at(i));
        if (septet >= kSeptets)
            return std::nullopt;
        if (septet != kEscape) {
            text.append(QChar(kDefault[septet]));
            continue;
        }
        ++i;
        if (i == septets.size() || static_cast<unsigned char>(septets.at(i)) >= kSeptets)
            return std::nullopt;
        const std::optional<char16_t> character = escaped(septets.at(i));
        if (!character)
            return std::nullopt;
        text.append(QChar(*character));
    }
    return text;
}

QByteArray GsmSeptets::ofCharacter(char16_t character)
{
    if (character == kNoCharacter)
        return {};
    for (std::size_t septet = 0; septet < kSeptets; ++septet) {
        if (kDefault[septet] == character)
            return QByteArray(1, char(septet));
    }
    for (const Extension &extension : kExtensions) {
        if (extension.character == character) {
            QByteArray septets(1, kEscape);
            septets.append(extension.septet);
            return septets;
        }
    }
    return {};
}
