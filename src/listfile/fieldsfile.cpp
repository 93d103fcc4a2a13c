// SPDX-License-Identifier: GPL-3.0-or-later
#include "fieldsfile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>

namespace {

const QString kExtension = QStringLiteral(".fields");

struct FieldName {
    const char *name;
    QString UsimFields::*member;
};

constexpr FieldName kFieldNames[] = {
    {"hidden", &UsimFields::hidden},       {"group", &UsimFields::group},
    {"adNumber", &UsimFields::adNumber},   {"adType", &UsimFields::adType},
    {"secondText", &UsimFields::secondText}, {"email", &UsimFields::email},
    {"sipUri", &UsimFields::sipUri},       {"telUri", &UsimFields::telUri},
    // Kept, so that an entry whose fields were not understood stays one
    // that is not written without them.
    {"unknownForm", &UsimFields::unknownForm},
};

QJsonObject record(const UsimFields &fields)
{
    QJsonObject out;
    for (const FieldName &field : kFieldNames) {
        const QString &value = fields.*field.member;
        if (!value.isEmpty())
            out.insert(QLatin1String(field.name), value);
    }
    return out;
}

std::optional<UsimFields> fieldsOf(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    UsimFields fields;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const auto known = std::find_if(std::cbegin(kFieldNames), std::cend(kFieldNames),
                                        [&](const FieldName &field) { return it.key() == QLatin1String(field.name); });
        if (known == std::cend(kFieldNames) || !it.value().isString())
            return std::nullopt;
        fields.*known->member = it.value().toString();
    }
    return fields;
}

// The line a member names, counted from 0; nullopt unless the name is the
// plain decimal number of a line of the list.
std::optional<qsizetype> lineOf(const QString &name, qsizetype lineCount)
{
    bool ok = false;
    const qsizetype number = name.toLongLong(&ok);
    if (!ok || number < 1 || number > lineCount || QString::number(number) != name)
        return std::nullopt;
    return number - 1;
}

}

namespace FieldsFile {

QString nameFor(const QString &listName)
{
    return listName + kExtension;
}

bool anyFields(const PhonebookEntries &entries)
{
    return std::any_of(entries.cbegin(), entries.cend(),
                       [](const PhonebookEntry &entry) { return !entry.fields.isEmpty(); });
}

QByteArray encode(const PhonebookEntries &entries)
{
    QByteArray out("{");
    const char *separator = "\n";
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).fields.isEmpty())
            continue;
        out += separator;
        out += '"' + QByteArray::number(i + 1) + "\": ";
        out += QJsonDocument(record(entries.at(i).fields)).toJson(QJsonDocument::Compact);
        separator = ",\n";
    }
    out += "\n}\n";
    return out;
}

std::optional<QList<UsimFields>> decode(const QByteArray &bytes, qsizetype lineCount)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject members = document.object();
    QList<UsimFields> fields(lineCount);
    for (auto it = members.constBegin(); it != members.constEnd(); ++it) {
        const std::optional<qsizetype> line = lineOf(it.key(), lineCount);
        const std::optional<UsimFields> lineFields = fieldsOf(it.value());
        if (!line || !lineFields)
            return std::nullopt;
        fields[*line] = *lineFields;
    }
    return fields;
}

}
