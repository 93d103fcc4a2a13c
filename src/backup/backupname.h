// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// The names the backups of the reads are kept under.
namespace BackupName {

// "2026-12-09_10-15-02 SIM BARS-PHONE.RDS": the local date and time of the
// read, the phonebook and the phone's model. Characters that a file name
// cannot hold on some system (path separators, "<>:\"|?*", control
// characters) become "_"; an unknown model is left out. Copy 2 and on, for
// a name already taken, end in " (2).RDS" and so on.
QString fileName(const QDateTime &when, const QString &phonebook, const QString &model, int copy);

}
