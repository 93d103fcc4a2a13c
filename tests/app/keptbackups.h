// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The list files of the backups the program kept, in the order of their
// names, each with its whole path.
QStringList backups();
// Removes the backups the program kept, so that each test finds none.
void removeBackups();
