#include "phonebooksort.h"

#include "phonebookcompare.h"
#include "sortedlayout.h"

#include <QCollatorSortKey>
#include <QVector>

#include <algorithm>
#include <numeric>

std::optional<PhonebookEntries> sortedEntries(const PhonebookEntries &source, const PhonebookLine::Limits &limits,
                                              Progress &progress)
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
            held.append(shown);
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
    PhonebookEntries sorted;
    sorted.reserve(items.size());
    for (int i = 0; i < order.size(); ++i) {
        if (!progress.keepGoing())
            return std::nullopt;
        progress.setIndex(i);
        sorted.append(held.at(order.at(i)));
    }
    return SortedLayout::numbered(sorted);
}
