// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookcompare.h"

#include <QLocale>

PhonebookCompare::PhonebookCompare()
    : m_collator(QLocale(QLocale::Italian, QLocale::Italy))
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Spaces must weigh: they are what puts ANNA before ANNALISA.
    m_collator.setIgnorePunctuation(false);
    m_collator.setNumericMode(false);
}

int PhonebookCompare::compare(const QString &a, const QString &b) const
{
    return m_collator.compare(a, b);
}

QCollatorSortKey PhonebookCompare::sortKey(const QString &item) const
{
    return m_collator.sortKey(item);
}
