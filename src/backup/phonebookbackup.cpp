// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookbackup.h"

#include "backupname.h"
#include "fieldsfile.h"
#include "listfilestore.h"
#include "sortedlayout.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kBackupsFolder = QStringLiteral("backups");

bool taken(const QString &path)
{
    return QFileInfo::exists(path) || QFileInfo::exists(FieldsFile::nameFor(path));
}

}

QString backupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/') + kBackupsFolder;
}

bool backUpRead(const QString &folder, const FormVariables &vars, const PhonebookEntries &List1,
                const QString &model, const QDateTime &when)
{
    if (!vars.phonebook)
        return true;
    const ListFileStore::StoredList list{SortedLayout::inPhoneOrder(List1, vars.limits), vars.limits};
    if (list.entries.isEmpty())
        return true;

    const QDir dir(folder);
    QString path;
    for (int copy = 1; path.isEmpty() || taken(path); ++copy)
        path = dir.filePath(BackupName::fileName(when, vars.phonebook->backupWord, model, copy));
    return dir.mkpath(QStringLiteral(".")) && ListFileStore::write(path, list);
}
