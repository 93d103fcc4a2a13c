#include "bubblesortreference.h"

#include "phonebookcompare.h"
#include "phonebookline.h"

QStringList bubbleSortReference(const FormVariables &vars, const QStringList &List1)
{
    const PhonebookLine::Limits limits = vars.lineLimits();
    const int width = PhonebookLine::indexWidth(vars.MAXNUMRUB);
    const QString emptySlot = PhonebookLine::sortItem({}, limits).mid(1);
    QStringList items;
    for (const QString &line : List1) {
        if (!line.contains(emptySlot, Qt::CaseInsensitive))
            items.append(line.mid(2 * width + 3));
    }
    const PhonebookCompare compare;
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int i = 0; i + 1 < items.size(); ++i) {
            if (compare.compare(items.at(i), items.at(i + 1)) > 0) {
                items.swapItemsAt(i, i + 1);
                exchanged = true;
            }
        }
    }
    for (int i = 0; i < items.size(); ++i)
        items[i] = PhonebookLine::positionTag(i + 1, vars.MAXNUMRUB) + QStringLiteral(" ")
            + PhonebookLine::kPositionSeparator + QStringLiteral(" ") + items.at(i);
    return items;
}
