// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>

#include <tuple>

// The types of number of 24.008 that a phonebook entry has: a national
// number, and an international one, which a "+" starts.
namespace SimNumberType {
constexpr int National = 129;
constexpr int International = 145;
inline const QString InternationalPrefix = QStringLiteral("+");
}

// One occupied phonebook position as the phone keeps it.
struct SimEntry {
    QString number;
    int type = SimNumberType::National;
    QString text;
    // What a USIM keeps besides: the hidden flag (0 or 1), the group, a second
    // number and its type (0 for none), a second text, an e-mail address, a
    // SIP URI and a TEL URI. The braces let {number, type, text} leave them
    // out without a missing-initializer warning.
    int hidden = 0;
    QString group{};
    QString adNumber{};
    int adType = 0;
    QString secondText{};
    QString email{};
    QString sipUri{};
    QString telUri{};

private:
    auto fields() const
    {
        return std::tie(number, type, text, hidden, group, adNumber, adType, secondText, email, sipUri, telUri);
    }

public:
    bool operator==(const SimEntry &other) const { return fields() == other.fields(); }
    bool operator!=(const SimEntry &other) const { return !(*this == other); }
};

// One phonebook storage: its index range, its field limits and its entries.
struct SimPhonebook {
    int first = 1;
    int last = 250;
    int numberLength = 40;
    int textLength = 18;
    // What phones that report more than the three standard values put after
    // the text length of the index range answer.
    QString extraFields = QStringLiteral(",,,,40,20");
    QMap<int, SimEntry> entries;

    bool contains(int index) const { return index >= first && index <= last; }
    int size() const { return last - first + 1; }
};

// The storages by name ("SM", "ME").
using SimPhonebooks = QMap<QString, SimPhonebook>;

namespace SimStorage {
inline const QString Sim = QStringLiteral("SM");
inline const QString PhoneMemory = QStringLiteral("ME");
}
