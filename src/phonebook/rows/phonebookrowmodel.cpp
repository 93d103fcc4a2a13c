#include "phonebookrowmodel.h"

PhonebookRowModel::PhonebookRowModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

PhonebookRowModel::PhonebookRowModel(const PhonebookRows &rows, QObject *parent)
    : QAbstractListModel(parent)
    , m_rows(rows)
{
}

int PhonebookRowModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant PhonebookRowModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return m_rows.at(index.row()).line;
}

std::optional<PhonebookRow> PhonebookRowModel::row(int index) const
{
    if (index < 0 || index >= m_rows.size())
        return std::nullopt;
    return m_rows.at(index);
}

QStringList PhonebookRowModel::lines() const
{
    return linesOf(m_rows);
}

void PhonebookRowModel::appendRow(const PhonebookRow &row)
{
    const int at = int(m_rows.size());
    beginInsertRows(QModelIndex(), at, at);
    m_rows.append(row);
    endInsertRows();
}

bool PhonebookRowModel::replaceRow(int index, const PhonebookRow &row)
{
    if (index < 0 || index >= m_rows.size())
        return false;
    m_rows[index] = row;
    const QModelIndex changed = this->index(index);
    emit dataChanged(changed, changed);
    return true;
}

void PhonebookRowModel::setRows(const PhonebookRows &rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void PhonebookRowModel::clear()
{
    setRows({});
}
