#include "phonebooksort.h"

#include "phonebookcompare.h"
#include "sortedlayout.h"
#include "windowtexts.h"

#include <QCollatorSortKey>
#include <QVector>

#include <algorithm>
#include <numeric>

std::optional<PhonebookEntries> sortedEntries(const PhonebookEntries &source, const PhonebookLine::Limits &limits,
                                              OperationReport &report)
{
    report.setMessage(WindowText::kCopying);
    report.setProgressMaximum(source.size());
    report.setProgressIndex(0);
    PhonebookEntries held;
    QStringList items;
    for (int i = 0; i < source.size(); ++i) {
        if (!report.keepGoing())
            return std::nullopt;
        report.setProgressIndex(i);
        const PhonebookEntry shown = PhonebookLine::shown(source.at(i), limits);
        if (!shown.isEmpty()) {
            held.append(shown);
            items.append(PhonebookLine::sortItem(source.at(i), limits));
        }
    }

    report.setMessage(WindowText::kSorting);
    report.setProgressMaximum(items.size());
    if (!report.keepGoing())
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

    report.setMessage(WindowText::kNumbering);
    PhonebookEntries sorted;
    sorted.reserve(items.size());
    for (int i = 0; i < order.size(); ++i) {
        if (!report.keepGoing())
            return std::nullopt;
        report.setProgressIndex(i);
        sorted.append(held.at(order.at(i)));
    }
    return SortedLayout::numbered(sorted);
}

Outcome sortPhonebook(const FormVariables &vars, const PhonebookListModel &List1, PhonebookListModel &List2,
                      OperationReport &report)
{
    const PhonebookLine::Limits limits = vars.lineLimits();
    List2.setEntries({}, PhonebookLine::Layout::Sorted, limits);
    // Taken once: the window may run other handlers at every step.
    const PhonebookEntries source = List1.entries();
    if (source.isEmpty())
        return {WindowText::kNotLoaded};
    const std::optional<PhonebookEntries> sorted = sortedEntries(source, limits, report);
    if (!sorted)
        return {};
    List2.setEntries(*sorted, PhonebookLine::Layout::Sorted, limits);
    return {WindowText::kSortDone, -1, -1, true};
}
