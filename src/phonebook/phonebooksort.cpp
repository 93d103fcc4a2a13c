#include "phonebooksort.h"

#include "phonebookcompare.h"
#include "phonebookline.h"

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

// " Ã "; every sort item begins with a space, which makes the sorted
// layout's second space after "Ã".
const QString kTagSeparator = QStringLiteral(" ") + PhonebookLine::kPositionSeparator + QStringLiteral(" ");

// What is compared and kept of a line: one space, the name field, " ³ ", the
// number field. A sorted-layout line (List1 after a write-back) has one more
// space after "Ã" than a read-layout line; it gives the same item, so that
// it neither sorts ahead of everything nor renumbers with three spaces.
QString sortItem(const QString &line, const PhonebookLine::Limits &limits)
{
    const qsizetype a = line.indexOf(PhonebookLine::kPositionSeparator);
    const qsizetype b = line.indexOf(PhonebookLine::kFieldSeparator);
    if (a < 0 || b <= a)
        return line.mid(2 * PhonebookLine::indexWidth(limits.maxNumRub) + 3);
    // From "Ã" up to the space before "³": the separator's space and the
    // name field, with the extra space of the sorted layout if there is one.
    const qsizetype nameStart = a + 1;
    const qsizetype nameLength = b - 1 - nameStart;
    const bool sortedLayout = nameLength == limits.maxCarNom + 2
        && line.at(nameStart + 1) == QLatin1Char(' ');
    return line.mid(sortedLayout ? nameStart + 1 : nameStart);
}
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
    const QString emptySlot = PhonebookLine::emptySlotTail(limits);
    // Each item keeps the row it came from, so that its fields go with it.
    QStringList items;
    QVector<int> itemRows;
    for (int i = 0; i < source.size(); ++i) {
        if (!report.keepGoing())
            return;
        report.setProgressValue(i + 0.1);
        if (!source.at(i).line.contains(emptySlot, Qt::CaseInsensitive)) {
            items.append(sortItem(source.at(i).line, limits));
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
        sorted.append({PhonebookLine::positionTag(i + 1, limits.maxNumRub) + kTagSeparator + items.at(item),
                       source.at(itemRows.at(item)).fields});
    }
    List2.setRows(sorted);
    report.setMessage(kDone);
}
