#pragma once

#include "phonebookrow.h"

#include <QAbstractListModel>
#include <QStringList>

#include <optional>

// The rows of a list box, counted from 0, for its view: the view shows each
// row's line and cannot edit it. Rows change only whole, through the calls
// below, each of which says what a row's fields become.
class PhonebookRowModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PhonebookRowModel(QObject *parent = nullptr);
    explicit PhonebookRowModel(const PhonebookRows &rows, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const PhonebookRows &rows() const { return m_rows; }
    // Nullopt outside the list.
    std::optional<PhonebookRow> row(int index) const;
    // The lines alone, in order.
    QStringList lines() const;

    // A view sees each appended row as it comes.
    void appendRow(const PhonebookRow &row);
    // False, and nothing changed, for an index outside the list.
    bool replaceRow(int index, const PhonebookRow &row);
    void setRows(const PhonebookRows &rows);
    void clear();

private:
    PhonebookRows m_rows;
};
