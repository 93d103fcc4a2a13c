// SPDX-License-Identifier: GPL-3.0-or-later
// The udev name of the device behind a port, found in a folder of links
// made up as /dev/serial/by-id has them.
#include "serialbyid.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSerialById : public QObject {
    Q_OBJECT

private slots:
    void nameOfTheDevice_data();
    void nameOfTheDevice();
};

namespace {

const QString kAdapter = QStringLiteral("usb-1a86_USB_Serial-if00-port0");
const QString kModem = QStringLiteral("usb-HUAWEI_Mobile-if00-port0");

}

void TestSerialById::nameOfTheDevice_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("name");
    // Paths under the temporary folder: dev/ holds the devices, by-id/ the
    // links, relative as udev makes them.
    QTest::newRow("linked device") << QStringLiteral("dev/ttyUSB0") << kAdapter;
    QTest::newRow("second linked device") << QStringLiteral("dev/ttyUSB1") << kModem;
    QTest::newRow("device given through its link") << QStringLiteral("by-id/") + kModem << kModem;
    QTest::newRow("device given through another link") << QStringLiteral("modem") << kModem;
    QTest::newRow("device with no link") << QStringLiteral("dev/ttyS0") << QString();
    QTest::newRow("device that does not exist") << QStringLiteral("dev/ttyUSB9") << QString();
    QTest::newRow("no device") << QString() << QString();
    QTest::newRow("no folder of links") << QStringLiteral("dev/ttyUSB0") << QString();
}

void TestSerialById::nameOfTheDevice()
{
    QFETCH(QString, device);
    QFETCH(QString, name);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QDir dir(root.path());
    QVERIFY(dir.mkpath(QStringLiteral("dev")));
    for (const char *tty : {"ttyUSB0", "ttyUSB1", "ttyS0"}) {
        QFile file(dir.filePath(QStringLiteral("dev/") + QLatin1String(tty)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const bool withLinks = QByteArray(QTest::currentDataTag()) != "no folder of links";
    if (withLinks) {
        QVERIFY(dir.mkpath(QStringLiteral("by-id")));
        QVERIFY(QFile::link(QStringLiteral("../dev/ttyUSB0"), dir.filePath(QStringLiteral("by-id/") + kAdapter)));
        QVERIFY(QFile::link(QStringLiteral("../dev/ttyUSB1"), dir.filePath(QStringLiteral("by-id/") + kModem)));
        // A device unplugged leaves no link; one left dangling is no match.
        QVERIFY(QFile::link(QStringLiteral("../dev/ttyUSB9"),
                            dir.filePath(QStringLiteral("by-id/usb-gone-if00-port0"))));
    }
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("dev/ttyUSB1")), dir.filePath(QStringLiteral("modem"))));

    const QString path = device.isEmpty() ? QString() : dir.filePath(device);
    QCOMPARE(serialByIdName(path, dir.filePath(QStringLiteral("by-id"))), name);
}

QTEST_GUILESS_MAIN(TestSerialById)
#include "tst_serialbyid.moc"
