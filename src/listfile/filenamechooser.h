// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Asks the user for the name of a list file. The filters come as "*.RDS;;
// *.vcf", the first one chosen. Each answer is the full path chosen, or an
// empty text when the user cancelled.
class FileNameChooser {
public:
    virtual ~FileNameChooser() = default;

    virtual QString openFileName(const QString &filter) = 0;
    virtual QString saveFileName(const QString &filter) = 0;
};
