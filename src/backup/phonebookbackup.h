// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "formvariables.h"
#include "phonebookentry.h"

#include <QDateTime>
#include <QString>

// Where the backups of the reads go: "backups" in the program's own data
// folder, which main names "veldrano" (~/.local/share/veldrano/backups,
// %APPDATA%\veldrano\backups on Windows).
QString backupFolder();

// Keeps the entries of a complete read (vars names its phonebook), read
// into List1, in a new list file in folder: every entry in the phone's
// order, numbered 1, 2, 3 ... in the sorted layout, each with its fields, as
// "SALVA LISTA ORDINATA" saves a sorted list, so that loading it and writing
// it back restores them. Named after when, the phonebook and the model
// (BackupName), never over another file. Nothing is kept of a read that
// stopped early, nor of an empty phonebook. False only when a complete
// read's entries could not be kept.
bool backUpRead(const QString &folder, const FormVariables &vars, const PhonebookEntries &List1,
                const QString &model, const QDateTime &when);
