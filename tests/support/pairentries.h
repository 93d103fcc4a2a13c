// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"

#include <QStringList>

// Entries written as "name|number", at positions 1, 2, 3 ...; an empty
// string is an empty position.
inline PhonebookEntries pairEntries(const QStringList &pairs)
{
    PhonebookEntries entries;
    for (const QString &pair : pairs) {
        const QStringList fields = pair.split(QLatin1Char('|'));
        PhonebookEntry entry;
        entry.position = int(entries.size()) + 1;
        entry.name = fields.at(0);
        entry.number = fields.value(1);
        entries.append(entry);
    }
    return entries;
}

// The entries back as "name|number", their positions left out.
inline QStringList pairsOf(const PhonebookEntries &entries)
{
    QStringList pairs;
    for (const PhonebookEntry &entry : entries)
        pairs.append(entry.name + QLatin1Char('|') + entry.number);
    return pairs;
}
