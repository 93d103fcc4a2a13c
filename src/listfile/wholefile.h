// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// A file written whole or not at all. The bytes go to a side file, which
// takes the file's place only once every one of them has reached it; a write
// that fails (a full disk, a file size limit, a folder that cannot be written)
// leaves the file as it was and no side file behind.
class WholeFile {
public:
    explicit WholeFile(const QString &name);

    // Writes the bytes to the side file: false when they did not all reach
    // it, and the file is then never replaced.
    bool prepare(const QByteArray &bytes);
    // Puts the prepared side file in the file's place: false when prepare()
    // failed or the side file could not take the place.
    bool commit();

    // prepare() and commit() at once.
    static bool write(const QString &name, const QByteArray &bytes);

private:
    QSaveFile m_file;
};
