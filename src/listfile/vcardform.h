// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookcommands.h"

#include <QChar>
#include <QLatin1String>
#include <QString>

#include <array>

// What the vCard writer and reader must agree on: the properties and
// parameters of this program's own, and the SIM's name suffixes and the TEL
// types they stand for. A number's type goes without saying where it is
// the one the phonebook write gives it (PhonebookCommands::numberType).
namespace VCardForm {

// The file dialogs' filter, beside the list file's.
inline constexpr char kFilter[] = "*.vcf";

// The name's extension, in any case, picks the vCard format.
inline bool isVCardName(const QString &name)
{
    return name.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive);
}

// A TEL parameter holding the phone's type for that number, written only
// where the number does not imply it.
inline constexpr QLatin1String kTypeParameter("X-VELDRANO-TYPE");
// A TEL parameter telling a USIM field from a number to dial.
inline constexpr QLatin1String kFieldParameter("X-VELDRANO-FIELD");
inline constexpr QLatin1String kSecondNumber("SECOND-NUMBER");
inline constexpr QLatin1String kTelUri("TEL-URI");
// The USIM fields that no standard property holds.
inline constexpr QLatin1String kHiddenProperty("X-VELDRANO-HIDDEN");
inline constexpr QLatin1String kUnknownFieldsProperty("X-VELDRANO-UNKNOWN-FIELDS");

inline constexpr QLatin1String kSipScheme("sip:");
inline constexpr QLatin1String kTelScheme("tel:");

// A type worth carrying: one octet of the phone's, not the empty 0.
inline bool isKeptType(int type)
{
    return type > 0 && type < 256;
}

// An international number as an address book must see it, with its "+"
// (a phone may send the second number's digits without one).
inline QString withPlus(const QString &number, int type)
{
    if (type == PhonebookCommands::kInternationalType && !number.isEmpty() && !number.startsWith(QLatin1Char('+')))
        return QLatin1Char('+') + number;
    return number;
}

// The SIM habit of one entry per number, "Chuck Woodbury/w", and the TEL
// type each suffix stands for. A TEL with several types takes the suffix
// of the first one in this order; one with none of them is "/o".
struct Suffix {
    char letter;
    QLatin1String written;
    std::array<QLatin1String, 2> read;
};
inline constexpr std::array<Suffix, 5> kSuffixes = {{
    {'f', QLatin1String("FAX"), {QLatin1String("FAX"), {}}},
    {'m', QLatin1String("CELL"), {QLatin1String("CELL"), QLatin1String("IPHONE")}},
    {'w', QLatin1String("WORK"), {QLatin1String("WORK"), {}}},
    {'h', QLatin1String("HOME"), {QLatin1String("HOME"), {}}},
    {'o', QLatin1String("VOICE"), {}},
}};
inline constexpr QChar kSuffixMark(u'/');

// The letter of name's type suffix, or '\0' when it has none.
inline char suffixOf(const QString &name)
{
    if (name.size() < 2 || name.at(name.size() - 2) != kSuffixMark)
        return '\0';
    for (const Suffix &suffix : kSuffixes) {
        if (name.back() == QLatin1Char(suffix.letter))
            return suffix.letter;
    }
    return '\0';
}

}
