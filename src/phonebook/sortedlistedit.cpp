// SPDX-License-Identifier: GPL-3.0-or-later
#include "sortedlistedit.h"

#include "phonebookcompare.h"
#include "sortedlayout.h"

#include <QCollatorSortKey>
#include <QSet>

#include <algorithm>

namespace SortedListEdit {

namespace {

QList<QCollatorSortKey> sortKeys(const PhonebookEntries &entries, const PhonebookCompare &compare,
                                 const PhonebookLimits &limits)
{
    QList<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const PhonebookEntry &entry : entries)
        keys.append(compare.sortKey(PhonebookLine::sortItem(entry, limits)));
    return keys;
}

}

PhonebookEntries withoutRows(const PhonebookEntries &entries, const QList<int> &rows)
{
    const QSet<int> leaving(rows.cbegin(), rows.cend());
    PhonebookEntries out;
    out.reserve(entries.size());
    for (int row = 0; row < entries.size(); ++row) {
        if (!leaving.contains(row))
            out.append(entries.at(row));
    }
    return SortedLayout::numbered(out);
}

Fitted fitted(const PhonebookEntries &loaded, const PhonebookLimits &limits)
{
    Fitted out;
    for (const PhonebookEntry &entry : loaded) {
        if (entry.unread || entry.isEmpty() || entry.number.size() > limits.MAXCARNUM) {
            ++out.skipped;
            continue;
        }
        out.entries.append(entry);
        out.entries.last().loadedLine = std::nullopt;
    }
    return out;
}

PhonebookEntries mergedIn(const PhonebookEntries &current, const PhonebookEntries &additions,
                          const PhonebookLimits &limits)
{
    const PhonebookCompare compare;
    const QList<QCollatorSortKey> currentKeys = sortKeys(current, compare, limits);
    const QList<QCollatorSortKey> addedKeys = sortKeys(additions, compare, limits);
    PhonebookEntries out;
    out.reserve(current.size() + additions.size());
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < current.size() || j < additions.size()) {
        const bool addedFirst = i == current.size()
            || (j < additions.size() && addedKeys.at(j).compare(currentKeys.at(i)) < 0);
        out.append(addedFirst ? additions.at(j++) : current.at(i++));
    }
    return SortedLayout::numbered(out);
}

}
