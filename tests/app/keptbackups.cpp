// SPDX-License-Identifier: GPL-3.0-or-later
#include "keptbackups.h"

#include "phonebookbackup.h"

#include <QDir>
#include <QFile>

QStringList backups()
{
    const QDir folder(backupFolder());
    QStringList paths;
    for (const QString &name : folder.entryList({QStringLiteral("*.RDS")}, QDir::Files, QDir::Name))
        paths.append(folder.filePath(name));
    return paths;
}

void removeBackups()
{
    QFile::remove(backupFolder());
    QDir(backupFolder()).removeRecursively();
}
