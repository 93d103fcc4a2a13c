#include "phonebooksort.h"

#include "phonebookcompare.h"
#include "phonebookline.h"
#include "sortedlayout.h"

#include <QCollatorSortKey>
#include <QVector>

#include <algorithm>
#include <numeric>

namespace {
const QString kNotLoaded = QStringLiteral("ERRORE: RUBRICA NON CARICATA");
const QString kCopying = QStringLiteral("COPIA DATI IN CORSO");
const QString kSorting = QStringLiteral("ORDINAMENTO RUBRICA IN CORSO");
const QString kNumbering = QStringLiteral("SCRITTURA INDICI IN CORSO");
const QString kDone = QStringLiteral("ORDINAMENTO TERMINATO");
}

void sortPhonebook(const FormVariables &vars, const PhonebookRowModel &List1, PhonebookRowModel &List2,
                   OperationReport &report)
{
    List2.clear();
    // Taken once: the window may run other handlers at every step.
    const PhonebookRows source = List1.rows();
    const PhonebookLine::Limits limits = vars.lineLimits();
    if (source.isEmpty()) {
        report.setMessage(kNotLoaded);
        return;
    }

    report.setMessage(kCopying);
    report.setProgressMaximum(source.size());
    report.setProgressValue(0.1);
    // Each item keeps the row it came from, so that its fields go with it.
    QStringList items;
    QVector<int> itemRows;
    for (int i = 0; i < source.size(); ++i) {
        if (!report.keepGoing())
            return;
        report.setProgressValue(i + 0.1);
        if (SortedLayout::holdsEntry(source.at(i).line, limits)) {
            items.append(SortedLayout::item(source.at(i).line, limits));
            itemRows.append(i);
        }
    }

    report.setMessage(kSorting);
    report.setProgressMaximum(items.size());
    if (!report.keepGoing())
        return;
    const PhonebookCompare compare;
    QVector<QCollatorSortKey> keys;
    keys.reserve(items.size());
    for (const QString &item : std::as_const(items))
        keys.append(compare.sortKey(item));
    QVector<int> order(items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int x, int y) { return keys.at(x).compare(keys.at(y)) < 0; });

    report.setMessage(kNumbering);
    PhonebookRows sorted;
    sorted.reserve(items.size());
    for (int i = 0; i < order.size(); ++i) {
        if (!report.keepGoing())
            return;
        report.setProgressValue(i + 0.1);
        const int item = order.at(i);
        sorted.append({SortedLayout::numbered(i + 1, items.at(item), limits),
                       source.at(itemRows.at(item)).fields});
    }
    List2.setRows(sorted);
    report.setMessage(kDone);
}
