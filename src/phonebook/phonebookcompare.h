// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCollator>
#include <QString>

// The textual order of sort items (a space, the name field, " ³ ", the
// number field): Italian rules whatever the user's own locale, letter case
// ignored, accented letters beside their base letter, and the space before
// digits and letters, so that a name padded with spaces sorts before every
// longer name that begins with it.
class PhonebookCompare {
public:
    PhonebookCompare();

    // Negative, zero or positive as a sorts before, with or after b.
    int compare(const QString &a, const QString &b) const;

    // Keys that compare as compare() does, for sorting many items.
    QCollatorSortKey sortKey(const QString &item) const;

private:
    QCollator m_collator;
};
