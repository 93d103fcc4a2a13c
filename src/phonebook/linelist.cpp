#include "linelist.h"

#include "entrylinemodel.h"

#include <QStringListModel>

namespace LineList {

void appendLine(QStringListModel &list, const QString &line)
{
    const int row = list.rowCount();
    if (list.insertRows(row, 1))
        list.setData(list.index(row), line);
}

void replaceLine(QStringListModel &list, int index, const QString &line)
{
    if (index < 0 || index >= list.rowCount())
        return;
    list.setData(list.index(index), line);
}

void clearLines(QStringListModel &list)
{
    list.setStringList(QStringList());
}

UsimFields fieldsAt(const QStringListModel &list, int index)
{
    return list.data(list.index(index), EntryLineModel::kFieldsRole).value<UsimFields>();
}

void setFields(QStringListModel &list, int index, const UsimFields &fields)
{
    if (index >= 0 && index < list.rowCount())
        list.setData(list.index(index), QVariant::fromValue(fields), EntryLineModel::kFieldsRole);
}

}
