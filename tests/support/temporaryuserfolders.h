// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Points XDG_DATA_HOME and XDG_CONFIG_HOME at folders of the run's own,
// removed when the run ends, so that what the program keeps in the user's
// folders (the backups of its reads, the file dialog's settings) never
// lands in the home of whoever runs the tests. Call it from the test's
// initMain(), before the application starts; it gives the data folder.
QString useTemporaryUserFolders();
