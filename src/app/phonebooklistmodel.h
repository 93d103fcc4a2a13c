// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"

#include <QAbstractListModel>
#include <QStringList>

#include <optional>

// The entries of a list box, counted from 0, for its view: the view shows
// each entry as its line, drawn in the list's layout under the limits the
// entries were read or made with, and cannot edit it. A sorted list marks
// its duplicates: a line whose number dials the same phone as another
// line's has a background of its own and a tooltip naming that line.
class PhonebookListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum class Duplicates { Unmarked, Marked };

    explicit PhonebookListModel(Duplicates duplicates = Duplicates::Unmarked, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const PhonebookEntries &entries() const { return m_entries; }
    // Nullopt outside the list.
    std::optional<PhonebookEntry> entry(int row) const;
    PhonebookLine::Layout layout() const { return m_layout; }
    PhonebookLimits limits() const { return m_limits; }
    // The lines the view shows, in order.
    QStringList lines() const;

    // A view sees each appended entry as it comes.
    void appendEntry(const PhonebookEntry &entry);
    // False, and nothing changed, for a row outside the list.
    bool replaceEntry(int row, const PhonebookEntry &entry);
    void setEntries(const PhonebookEntries &entries, PhonebookLine::Layout layout,
                    const PhonebookLimits &limits);
    void clear();

    // The row of another entry on the same number; nullopt for none, and
    // in a list that does not mark its duplicates.
    std::optional<int> twin(int row) const;

private:
    void markDuplicates();

    Duplicates m_duplicates;
    PhonebookLine::Layout m_layout = PhonebookLine::Layout::Read;
    PhonebookLimits m_limits;
    PhonebookEntries m_entries;
    QList<std::optional<int>> m_twins;
};
