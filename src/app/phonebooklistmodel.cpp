// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebooklistmodel.h"

#include "duplicates.h"
#include "windowtexts.h"

#include <QColor>

namespace {
// Pale amber: apart from the selection's colour, and legible under it.
const QColor kDuplicateBackground{255, 236, 179};
}

PhonebookListModel::PhonebookListModel(Duplicates duplicates, QObject *parent)
    : QAbstractListModel(parent), m_duplicates(duplicates)
{
}

int PhonebookListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant PhonebookListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return PhonebookLine::draw(m_entries.at(index.row()), m_layout, m_limits);
    case Qt::BackgroundRole:
        return twin(index.row()) ? QVariant(kDuplicateBackground) : QVariant();
    case Qt::ToolTipRole:
        if (const std::optional<int> other = twin(index.row())) {
            const PhonebookEntry &entry = m_entries.at(*other);
            return WindowText::sameNumberAs(PhonebookLine::positionTag(entry.position, m_limits.MAXNUMRUB),
                                            PhonebookLine::asWritten(entry).name);
        }
        return QVariant();
    default:
        return QVariant();
    }
}

std::optional<int> PhonebookListModel::twin(int row) const
{
    return row >= 0 && row < m_twins.size() ? m_twins.at(row) : std::nullopt;
}

void PhonebookListModel::markDuplicates()
{
    m_twins = m_duplicates == Duplicates::Marked ? ::Duplicates::marks(m_entries) : QList<std::optional<int>>();
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
    markDuplicates();
    endInsertRows();
}

bool PhonebookListModel::replaceEntry(int row, const PhonebookEntry &entry)
{
    if (row < 0 || row >= m_entries.size())
        return false;
    m_entries[row] = entry;
    markDuplicates();
    // A new number may make or unmake a duplicate anywhere in the list.
    const bool everyRow = m_duplicates == Duplicates::Marked;
    emit dataChanged(index(everyRow ? 0 : row), index(everyRow ? rowCount() - 1 : row));
    return true;
}

void PhonebookListModel::setEntries(const PhonebookEntries &entries, PhonebookLine::Layout layout,
                                    const PhonebookLimits &limits)
{
    beginResetModel();
    m_entries = entries;
    m_layout = layout;
    m_limits = limits;
    markDuplicates();
    endResetModel();
}

void PhonebookListModel::clear()
{
    setEntries({}, m_layout, m_limits);
}
