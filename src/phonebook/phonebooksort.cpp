#include "phonebooksort.h"

#include "phonebookcompare.h"
#include "sortedlayout.h"
#include "windowtexts.h"

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
std::optional<PhonebookEntries> sorted(const PhonebookEntries &source, const PhonebookLine::Limits &limits,
                                       Kept kept, OperationReport &report)
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
            held.append(kept == Kept::Whole ? source.at(i) : shown);
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
    PhonebookEntries ordered;
    ordered.reserve(items.size());
    for (int i = 0; i < order.size(); ++i) {
        if (!report.keepGoing())
            return std::nullopt;
        report.setProgressIndex(i);
        ordered.append(held.at(order.at(i)));
    }
    return SortedLayout::numbered(ordered);
}

} // namespace

std::optional<PhonebookEntries> sortedEntries(const PhonebookEntries &source, const PhonebookLine::Limits &limits,
                                              OperationReport &report)
{
    return sorted(source, limits, Kept::AsShown, report);
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
    const std::optional<PhonebookEntries> list = sorted(source, limits, Kept::Whole, report);
    if (!list)
        return {};
    List2.setEntries(*list, PhonebookLine::Layout::Sorted, limits);
    return {WindowText::kSortDone, -1, -1, true};
}
