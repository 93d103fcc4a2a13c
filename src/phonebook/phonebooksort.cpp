// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebooksort.h"

#include "phonebookcompare.h"
#include "sortedlayout.h"

#include <QCollatorSortKey>
#include <QVector>

#include <algorithm>
#include <numeric>

namespace {

// How the sorted list keeps the entries it orders.
enum class Kept {
    // As read: only the drawn line is cut.
    Whole,
    // As their lines show them.
    AsShown,
};

// The entries whose lines show anything, ordered by their sort items (a
// stable sort), numbered 1, 2, 3 ...
std::optional<PhonebookEntries> sorted(const PhonebookEntries &source, const PhonebookLimits &limits,
                                       Kept kept, Progress &progress)
{
    progress.stage(Stage::Copying);
    progress.setMaximum(source.size());
    progress.setIndex(0);
    PhonebookEntries held;
    QStringList items;
    for (int i = 0; i < source.size(); ++i) {
        if (!progress.keepGoing())
            return std::nullopt;
        progress.setIndex(i);
        const PhonebookEntry shown = PhonebookLine::shown(source.at(i), limits);
        if (!shown.isEmpty()) {
            held.append(kept == Kept::Whole ? source.at(i) : shown);
            items.append(PhonebookLine::sortItem(source.at(i), limits));
        }
    }

    progress.stage(Stage::Sorting);
    progress.setMaximum(items.size());
    if (!progress.keepGoing())
        return std::nullopt;
    const PhonebookCompare compare;
    QVector<QCollatorSortKey> keys;
    keys.reserve(items.size());
    for (const QString &item : std::as_const(items))
        keys.append(compare.sortKey(item));
    QVector<int> order(items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int x, int y) { return keys.at(x).compare(keys.at(y)) < 0; });

    progress.stage(Stage::Numbering);
    PhonebookEntries ordered;
    ordered.reserve(items.size());
    for (int i = 0; i < order.size(); ++i) {
        if (!progress.keepGoing())
            return std::nullopt;
        progress.setIndex(i);
        ordered.append(held.at(order.at(i)));
    }
    return SortedLayout::numbered(ordered);
}

} // namespace

std::optional<PhonebookEntries> sortedPhonebook(const PhonebookEntries &List1, const PhonebookLimits &limits,
                                                Progress &progress)
{
    return sorted(List1, limits, Kept::Whole, progress);
}

std::optional<PhonebookEntries> sortedEntries(const PhonebookEntries &source, const PhonebookLimits &limits,
                                              Progress &progress)
{
    return sorted(source, limits, Kept::AsShown, progress);
}
