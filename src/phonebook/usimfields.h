// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>
#include <QString>

// What a USIM entry holds besides its number and name, as +CPBR reports it
// after the text. The list lines do not show these; they travel with their
// entry, so that a sort and a write-back lose none of them. Empty texts are
// fields the entry does not have.
struct UsimFields {
    QString hidden;     // "1" for a hidden entry; empty when it is not
    QString group;
    QString adNumber;   // the second number, as the phone sends it
    QString adType;     // its type, in decimal
    QString secondText;
    QString email;
    QString sipUri;
    QString telUri;
    // What the phone sent after the name, as it came, when it is not in the
    // form above (a group given as an index, say). Kept so that the entry is
    // not written back without it: such an entry cannot be written.
    QString unknownForm;

    bool isEmpty() const { return *this == UsimFields(); }
    bool operator==(const UsimFields &other) const
    {
        return hidden == other.hidden && group == other.group && adNumber == other.adNumber
            && adType == other.adType && secondText == other.secondText && email == other.email
            && sipUri == other.sipUri && telUri == other.telUri && unknownForm == other.unknownForm;
    }
    bool operator!=(const UsimFields &other) const { return !(*this == other); }
};
Q_DECLARE_METATYPE(UsimFields)
