#include "phonebooklistmodel.h"

PhonebookListModel::PhonebookListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int PhonebookListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant PhonebookListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size()
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return PhonebookLine::draw(m_entries.at(index.row()), m_layout, m_limits);
}

std::optional<PhonebookEntry> PhonebookListModel::entry(int row) const
{
    if (row < 0 || row >= m_entries.size())
        return std::nullopt;
    return m_entries.at(row);
}

QStringList PhonebookListModel::lines() const
{
    QStringList lines;
    lines.reserve(m_entries.size());
    for (const PhonebookEntry &entry : m_entries)
        lines.append(PhonebookLine::draw(entry, m_layout, m_limits));
    return lines;
}

void PhonebookListModel::appendEntry(const PhonebookEntry &entry)
{
    const int at = int(m_entries.size());
    beginInsertRows(QModelIndex(), at, at);
    m_entries.append(entry);
    endInsertRows();
}

bool PhonebookListModel::replaceEntry(int row, const PhonebookEntry &entry)
{
    if (row < 0 || row >= m_entries.size())
        return false;
    m_entries[row] = entry;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed);
    return true;
}

void PhonebookListModel::setEntries(const PhonebookEntries &entries, PhonebookLine::Layout layout,
                                    const PhonebookLine::Limits &limits)
{
    beginResetModel();
    m_entries = entries;
    m_layout = layout;
    m_limits = limits;
    endResetModel();
}

void PhonebookListModel::clear()
{
    setEntries({}, m_layout, m_limits);
}
