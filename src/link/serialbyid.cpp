// SPDX-License-Identifier: GPL-3.0-or-later
#include "serialbyid.h"

#include <QDir>
#include <QFileInfo>

QString serialByIdName(const QString &device, const QString &folder)
{
    // The device may itself be given through a link, a by-id one included.
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty())
        return QString();
    const QFileInfoList links =
        QDir(folder).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        if (link.isSymLink() && link.canonicalFilePath() == target)
            return link.fileName();
    }
    return QString();
}
