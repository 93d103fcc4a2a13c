#pragma once

#include "phonebookentry.h"
#include "phonebookline.h"

#include <QAbstractListModel>
#include <QStringList>

#include <optional>

// The entries of a list box, counted from 0, for its view: the view shows
// each entry as its line, drawn in the list's layout under the limits the
// entries were read or made with, and cannot edit it.
class PhonebookListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PhonebookListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const PhonebookEntries &entries() const { return m_entries; }
    // Nullopt outside the list.
    std::optional<PhonebookEntry> entry(int row) const;
    PhonebookLine::Layout layout() const { return m_layout; }
    PhonebookLine::Limits limits() const { return m_limits; }
    // The lines the view shows, in order.
    QStringList lines() const;

    // A view sees each appended entry as it comes.
    void appendEntry(const PhonebookEntry &entry);
    // False, and nothing changed, for a row outside the list.
    bool replaceEntry(int row, const PhonebookEntry &entry);
    void setEntries(const PhonebookEntries &entries, PhonebookLine::Layout layout,
                    const PhonebookLine::Limits &limits);
    void clear();

private:
    PhonebookLine::Layout m_layout = PhonebookLine::Layout::Read;
    PhonebookLine::Limits m_limits;
    PhonebookEntries m_entries;
};
