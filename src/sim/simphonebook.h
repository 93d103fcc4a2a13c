#pragma once

#include <QMap>
#include <QString>

// One occupied phonebook position as the phone keeps it.
struct SimEntry {
    QString number;
    int type = 129;
    QString text;

    bool operator==(const SimEntry &other) const
    {
        return number == other.number && type == other.type && text == other.text;
    }
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
