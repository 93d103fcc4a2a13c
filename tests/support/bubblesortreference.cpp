// SPDX-License-Identifier: GPL-3.0-or-later
#include "bubblesortreference.h"

namespace {

// Letter case folded and accents taken off (the marks the decomposition
// splits from their letter), so that "È" weighs as "e".
QString folded(const QString &item)
{
    QString out;
    for (const QChar c : item.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    }
    return out.toCaseFolded();
}

// The space, then other signs, then digits, then letters.
int rank(QChar c)
{
    if (c == QLatin1Char(' '))
        return 0;
    if (c.isLetter())
        return 3;
    return c.isDigit() ? 2 : 1;
}

bool comesAfter(const QString &a, const QString &b)
{
    const QString x = folded(a);
    const QString y = folded(b);
    for (qsizetype i = 0; i < x.size() && i < y.size(); ++i) {
        if (x.at(i) == y.at(i))
            continue;
        if (rank(x.at(i)) != rank(y.at(i)))
            return rank(x.at(i)) > rank(y.at(i));
        return x.at(i) > y.at(i);
    }
    return x.size() > y.size();
}

}

QStringList bubbleSortReference(const PhonebookEntries &entries, const PhonebookLimits &limits)
{
    const QString emptyItem = PhonebookLine::sortItem(PhonebookEntry(), limits);
    QStringList items;
    for (const PhonebookEntry &entry : entries) {
        const QString item = PhonebookLine::sortItem(entry, limits);
        if (item != emptyItem)
            items.append(item);
    }
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int i = 0; i + 1 < items.size(); ++i) {
            if (comesAfter(items.at(i), items.at(i + 1))) {
                items.swapItemsAt(i, i + 1);
                exchanged = true;
            }
        }
    }
    for (int i = 0; i < items.size(); ++i)
        items[i] = PhonebookLine::positionTag(i + 1, limits.MAXNUMRUB) + QStringLiteral(" ")
            + PhonebookLine::kPositionSeparator + QStringLiteral(" ") + items.at(i);
    return items;
}
