// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

#include <unistd.h>

// Files as a test writes and reads them whole.
namespace TestFiles {

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A folder's files and folders by name, each file with its bytes.
using Files = QMap<QString, QByteArray>;
inline Files held(const QString &folder)
{
    Files files;
    for (const QString &name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        files.insert(name, contents(folder + u'/' + name));
    return files;
}

// Root reads and writes past file permissions.
inline bool runningAsRoot()
{
    return geteuid() == 0;
}

}
