// SPDX-License-Identifier: GPL-3.0-or-later
#include "portdirectory.h"

#include <QTest>

class TestPortDirectory : public QObject {
    Q_OBJECT
private slots:
    void ordered_data();
    void ordered();
    void deviceFor_data();
    void deviceFor();
};

void TestPortDirectory::ordered_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QString>("demo");
    QTest::addColumn<QStringList>("system");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing") << QStringList() << QString() << QStringList() << QStringList();
    QTest::newRow("groups")
        << QStringList() << QString()
        << QStringList{"/dev/ttyS0", "/dev/rfcomm0", "/dev/ttyUSB0", "/dev/ttyACM0"}
        << QStringList{"/dev/ttyACM0", "/dev/ttyUSB0", "/dev/rfcomm0", "/dev/ttyS0"};
    QTest::newRow("natural order in a group")
        << QStringList() << QString()
        << QStringList{"/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyUSB1", "/dev/ttyS10", "/dev/ttyS9"}
        << QStringList{"/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyS9", "/dev/ttyS10"};
    QTest::newRow("given first, then demo")
        << QStringList{"/dev/ttyS4", "/tmp/b"} << "/dev/pts/7"
        << QStringList{"/dev/ttyACM0"}
        << QStringList{"/dev/ttyS4", "/tmp/b", "/dev/pts/7", "/dev/ttyACM0"};
    QTest::newRow("named twice keeps first place")
        << QStringList{"/dev/ttyUSB1"} << QString()
        << QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1"}
        << QStringList{"/dev/ttyUSB1", "/dev/ttyUSB0"};
}

void TestPortDirectory::ordered()
{
    QFETCH(QStringList, given);
    QFETCH(QString, demo);
    QFETCH(QStringList, system);
    QFETCH(QStringList, expected);
    QCOMPARE(PortDirectory::ordered(given, demo, system), expected);
}

void TestPortDirectory::deviceFor_data()
{
    QTest::addColumn<int>("com");
    QTest::addColumn<QString>("expected");

#ifdef Q_OS_WIN
    QTest::newRow("com 1") << 1 << "COM1";
    QTest::newRow("com 10") << 10 << "COM10";
#else
    QTest::newRow("com 1") << 1 << "/d/1";
    QTest::newRow("com 3 is the demo") << 3 << "/demo";
    QTest::newRow("com 10") << 10 << "/dev/ttyUSB6";
    QTest::newRow("com 11 unreachable") << 11 << "";
    QTest::newRow("com 0") << 0 << "";
#endif
}

void TestPortDirectory::deviceFor()
{
    QFETCH(int, com);
    QFETCH(QString, expected);
    QStringList system;
    for (int i = 0; i < 10; ++i)
        system << QStringLiteral("/dev/ttyUSB%1").arg(i);
    const PortDirectory ports({"/d/1", "/d/2"}, "/demo", system);
    QCOMPARE(ports.deviceFor(com), expected);
}

QTEST_APPLESS_MAIN(TestPortDirectory)
#include "tst_portdirectory.moc"
