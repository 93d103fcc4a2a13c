// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "usimfields.h"

#include <QList>
#include <QString>

#include <optional>

// One position of a phonebook: what the phone holds there, or what a list
// means to write there. Every line the window shows, every command sent and
// every file written is drawn from these values.
struct PhonebookEntry {
    // The phone's 1-based position; in a sorted list, the entry's number.
    int position = 0;
    QString number;
    // The number's type as the phone reported it (129, 145 ...); 0 when it
    // left the field empty, or the entry did not come from the phone.
    int type = 0;
    QString name;
    UsimFields fields;
    // The read could not tell what the phone holds at this position (it
    // answered an error, and its count of entries did not show the position
    // empty): it shows empty, but nothing may be written there.
    bool unread = false;
    // A list file's line as it stood, when drawing the entry does not give
    // it back (a list edited by hand, or a line that holds no entry, which
    // is then unread): shown and saved again as it came.
    std::optional<QString> loadedLine = std::nullopt;

    // An empty position: neither a name nor a number.
    bool isEmpty() const { return name.isEmpty() && number.isEmpty(); }

    bool operator==(const PhonebookEntry &other) const
    {
        return position == other.position && number == other.number && type == other.type
            && name == other.name && fields == other.fields && unread == other.unread
            && loadedLine == other.loadedLine;
    }
    bool operator!=(const PhonebookEntry &other) const { return !(*this == other); }
};

using PhonebookEntries = QList<PhonebookEntry>;
