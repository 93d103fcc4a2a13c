// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfilestore.h"

#include "fieldsfile.h"
#include "listfilecodec.h"
#include "wholefile.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The whole file, or nothing when it cannot be opened or read to its end
// (missing, a folder, unreadable).
std::optional<QByteArray> readWhole(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

}

namespace ListFileStore {

bool write(const QString &name, const StoredList &stored)
{
    const QString fieldsName = FieldsFile::nameFor(name);
    const bool withFields = FieldsFile::anyFields(stored.entries);
    WholeFile list(name);
    WholeFile fields(fieldsName);
    if (!list.prepare(ListFileCodec::encode(ListFileLayout::draw(stored)))
        || (withFields && !fields.prepare(FieldsFile::encode(stored.entries))))
        return false;
    const bool fieldsInPlace = withFields ? fields.commit()
                                          : !QFileInfo::exists(fieldsName) || QFile::remove(fieldsName);
    return fieldsInPlace && list.commit();
}

std::optional<StoredList> read(const QString &name)
{
    const std::optional<QByteArray> bytes = readWhole(name);
    const std::optional<QStringList> lines = bytes ? ListFileCodec::decode(*bytes) : std::nullopt;
    if (!lines)
        return std::nullopt;
    StoredList list = ListFileLayout::read(*lines);

    const QString fieldsName = FieldsFile::nameFor(name);
    if (!QFileInfo::exists(fieldsName))
        return list;
    const std::optional<QByteArray> fieldsBytes = readWhole(fieldsName);
    const std::optional<QList<UsimFields>> fields =
        fieldsBytes ? FieldsFile::decode(*fieldsBytes, list.entries.size()) : std::nullopt;
    if (!fields)
        return std::nullopt;
    for (qsizetype i = 0; i < list.entries.size(); ++i)
        list.entries[i].fields = fields->at(i);
    return list;
}

}
