// SPDX-License-Identifier: GPL-3.0-or-later
#include "backupname.h"
#include "crampedfolder.h"
#include "listfilestore.h"
#include "phonebookbackup.h"
#include "phonebookline.h"
#include "readlimits.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime kWhen(QDate(2026, 12, 9), QTime(10, 15, 2));
const FormVariables kVars = afterSimRead(4, 14, 12);

UsimFields family()
{
    UsimFields fields;
    fields.group = QStringLiteral("FAMIGLIA");
    fields.email = QStringLiteral("anna@example.org");
    return fields;
}

// Positions 1 and 3 hold entries, 2 and 4 are empty.
PhonebookEntries readEntries()
{
    return {
        {1, "0612", 129, "STUDIO M³ SRL", {}, false, std::nullopt},
        {2, "", 0, "", {}, false, std::nullopt},
        {3, "+39347", 145, "ANNA", family(), false, std::nullopt},
        {4, "", 0, "", {}, false, std::nullopt},
    };
}

}

class TestPhonebookBackup : public QObject {
    Q_OBJECT

private slots:
    void fileName_data();
    void fileName();
    void keepsEveryEntryInThePhonesOrder();
    void fullDiskKeepsNothing_data();
    void fullDiskKeepsNothing();
};

void TestPhonebookBackup::fileName_data()
{
    QTest::addColumn<QString>("phonebook");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("copy");
    QTest::addColumn<QString>("name");

    QTest::newRow("SIM") << "SIM" << "BARS-PHONE" << 1 << "2026-12-09_10-15-02 SIM BARS-PHONE.RDS";
    QTest::newRow("phone memory") << "CELLULARE" << "NOKIA 6310i" << 1
                                  << "2026-12-09_10-15-02 CELLULARE NOKIA 6310i.RDS";
    QTest::newRow("second copy") << "SIM" << "BARS-PHONE" << 2 << "2026-12-09_10-15-02 SIM BARS-PHONE (2).RDS";
    QTest::newRow("no model") << "SIM" << "  " << 1 << "2026-12-09_10-15-02 SIM.RDS";
    QTest::newRow("forbidden characters") << "SIM" << "a/b\\c:d*e?f\"g<h>i|j" << 1
                                          << "2026-12-09_10-15-02 SIM a_b_c_d_e_f_g_h_i_j.RDS";
    QTest::newRow("control characters") << "SIM" << " X\tY\nZ\x7f " << 1 << "2026-12-09_10-15-02 SIM X_Y_Z_.RDS";
    QTest::newRow("long model cut") << "SIM" << QString(100, 'M') << 1
                                    << "2026-12-09_10-15-02 SIM " + QString(64, 'M') + ".RDS";
}

void TestPhonebookBackup::fileName()
{
    QFETCH(QString, phonebook);
    QFETCH(QString, model);
    QFETCH(int, copy);
    QFETCH(QString, name);
    QCOMPARE(BackupName::fileName(kWhen, phonebook, model, copy), name);
}

void TestPhonebookBackup::keepsEveryEntryInThePhonesOrder()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("veldrano/backups");

    // Two reads in the same second keep two files; an empty phonebook none.
    QVERIFY(backUpRead(folder, kVars, readEntries(), "BARS-PHONE", kWhen));
    QVERIFY(backUpRead(folder, kVars, readEntries(), "BARS-PHONE", kWhen));
    QVERIFY(backUpRead(folder, kVars, {readEntries().at(1)}, "BARS-PHONE", kWhen));

    const QString name = QStringLiteral("2026-12-09_10-15-02 SIM BARS-PHONE");
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             (QStringList{name + " (2).RDS", name + " (2).RDS.fields", name + ".RDS", name + ".RDS.fields"}));
    // Read back as a list file: numbered in the phone's order, each entry
    // with its fields, the type left to the write.
    const std::optional<ListFileStore::StoredList> kept = ListFileStore::read(folder + "/" + name + ".RDS");
    QVERIFY(kept);
    QCOMPARE(kept->limits, kVars.limits);
    QCOMPARE(kept->entries, (PhonebookEntries{{1, "0612", 0, "STUDIO M³ SRL", {}, false, std::nullopt},
                                              {2, "+39347", 0, "ANNA", family(), false, std::nullopt}}));
}

void TestPhonebookBackup::fullDiskKeepsNothing_data()
{
    QTest::addColumn<int>("room"); // a CrampedFolder::Kind
    QTest::newRow("full disk") << int(CrampedFolder::Kind::SmallDisk);
    QTest::newRow("file size limit") << int(CrampedFolder::Kind::FileSizeLimit);
}

// A read of 250 entries with 8 KiB to spare: the backup fails, and leaves
// no part of itself behind.
void TestPhonebookBackup::fullDiskKeepsNothing()
{
    QFETCH(int, room);
    QTemporaryDir dir;
    const FormVariables vars = afterSimRead(250, 14, 20);
    PhonebookEntries read;
    for (int i = 1; i <= 250; ++i)
        read.append({i, "+39061234567", 145, QStringLiteral("Nome %1").arg(i), family(), false, std::nullopt});

    // On a tmpfs the small backup below takes two pages of its own.
    const CrampedFolder::Kind kind = CrampedFolder::Kind(room);
    const qint64 bytes = 8192 + (kind == CrampedFolder::Kind::SmallDisk ? 2 * 4096 : 0);
    TestFiles::Files left;
    {
        const CrampedFolder folder(kind, dir.path(), {}, bytes);
        if (!folder.ready())
            QSKIP(qPrintable(folder.why()));
        // A small one still fits.
        QVERIFY(backUpRead(dir.path(), kVars, readEntries(), "BARS-PHONE", kWhen));
        QVERIFY(!backUpRead(dir.path(), vars, read, "BARS-PHONE", kWhen));
        left = TestFiles::held(dir.path());
    }

    const QString name = QStringLiteral("2026-12-09_10-15-02 SIM BARS-PHONE");
    QCOMPARE(left.keys(), (QStringList{name + ".RDS", name + ".RDS.fields"}));
}

QTEST_GUILESS_MAIN(TestPhonebookBackup)
#include "tst_phonebookbackup.moc"
