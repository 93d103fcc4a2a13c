#pragma once

#include "usimfields.h"

#include <QList>
#include <QStringListModel>

// The lines of a list box, each with the USIM fields of its entry beside
// it (the role kFieldsRole). Replacing the whole string list drops them.
class EntryLineModel : public QStringListModel {
    Q_OBJECT
public:
    static constexpr int kFieldsRole = Qt::UserRole + 1;

    explicit EntryLineModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

private:
    QList<UsimFields> m_fields;
};
