#include "entrylinemodel.h"

EntryLineModel::EntryLineModel(QObject *parent)
    : QStringListModel(parent)
{
    connect(this, &QAbstractItemModel::modelReset, this,
            [this] { m_fields = QList<UsimFields>(rowCount()); });
}

QVariant EntryLineModel::data(const QModelIndex &index, int role) const
{
    if (role != kFieldsRole)
        return QStringListModel::data(index, role);
    if (!index.isValid() || index.row() >= m_fields.size())
        return QVariant();
    return QVariant::fromValue(m_fields.at(index.row()));
}

bool EntryLineModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != kFieldsRole)
        return QStringListModel::setData(index, value, role);
    if (!index.isValid() || index.row() >= m_fields.size() || !value.canConvert<UsimFields>())
        return false;
    m_fields[index.row()] = value.value<UsimFields>();
    emit dataChanged(index, index, {kFieldsRole});
    return true;
}

bool EntryLineModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (!QStringListModel::insertRows(row, count, parent))
        return false;
    m_fields.insert(row, count, UsimFields());
    return true;
}

bool EntryLineModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (!QStringListModel::removeRows(row, count, parent))
        return false;
    m_fields.remove(row, count);
    return true;
}
