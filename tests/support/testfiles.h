#pragma once

#include <QFile>
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

// Root reads and writes past file permissions.
inline bool runningAsRoot()
{
    return geteuid() == 0;
}

}
