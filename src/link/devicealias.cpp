// SPDX-License-Identifier: GPL-3.0-or-later
#include "devicealias.h"

#include <QFile>
#include <QFileInfo>

std::unique_ptr<DeviceAlias> DeviceAlias::to(const QString &device)
{
    // The terminal itself, not a link to it that may lead elsewhere later.
    const QString target = QFileInfo(device).canonicalFilePath();
    std::unique_ptr<DeviceAlias> alias(new DeviceAlias);
    if (target.isEmpty() || !alias->m_folder.isValid())
        return nullptr;
    alias->m_path = alias->m_folder.filePath(QFileInfo(target).fileName());
    if (!QFile::link(target, alias->m_path))
        return nullptr;
    return alias;
}
