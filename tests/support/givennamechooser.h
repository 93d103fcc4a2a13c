// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filenamechooser.h"

#include <QStringList>

// Answers the dialogs with fixed names (empty: cancelled) and records the
// filters it was shown with.
class GivenNameChooser : public FileNameChooser {
public:
    QString openFileName(const QString &filter) override
    {
        openFilters.append(filter);
        return openName;
    }
    QString saveFileName(const QString &filter) override
    {
        saveFilters.append(filter);
        return saveName;
    }

    QString openName;
    QString saveName;
    QStringList openFilters;
    QStringList saveFilters;
};
