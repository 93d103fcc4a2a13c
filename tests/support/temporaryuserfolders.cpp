// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporaryuserfolders.h"

#include <QDir>
#include <QTemporaryDir>

QString useTemporaryUserFolders()
{
    static const QTemporaryDir folders;
    const QString data = folders.filePath(QStringLiteral("data"));
    const QString config = folders.filePath(QStringLiteral("config"));
    QDir().mkpath(data);
    QDir().mkpath(config);
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    return data;
}
