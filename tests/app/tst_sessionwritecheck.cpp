// SPDX-License-Identifier: GPL-3.0-or-later
// The session against phones that do not keep what they were sent: the
// check of every write, and the fields that travel with their entries.
#include "keptbackups.h"
#include "sessionrig.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowtexts.h"

#include <QRegularExpression>
#include <QTest>

class TestSessionWriteCheck : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void cleanup() { removeBackups(); }

    void writesReadBack_data();
    void writesReadBack();
    void usimFieldsSurvive();
};

void TestSessionWriteCheck::writesReadBack_data()
{
    QTest::addColumn<SimModem::Options>("options");
    QTest::addColumn<QString>("charset");
    // The commands the check costs after the last write; 0 for the range
    // read alone, however often the link sends it again to a silent phone.
    // An answer that lists the entries 1 to 7 of 1 to 12 is read on from 8.
    QTest::addColumn<int>("checkCommands");
    // The row of List1 selected as the first that differs; -1 when none.
    QTest::addColumn<int>("different");
    QTest::addColumn<QString>("editMessage");

    const QString done = WindowText::kEntryWritten;
    SimModem::Options refused;
    refused.rangeReadRefused = true;
    QTest::newRow("range read refused") << refused << "8859-1" << 1 + 12 << -1 << done;
    SimModem::Options cut;
    cut.rangeReadCut = 3;
    QTest::newRow("range answer cut short") << cut << "8859-1" << 4 << -1 << done;
    SimModem::Options names;
    names.nameLimitUcs2 = 8;
    // The three names it cut are asked again on their own before they count.
    QTest::newRow("UCS2 names kept to 8 characters") << names << "UCS2" << 2 + 3 << 2 << WindowText::kDiffers;
    SimModem::Options dropped;
    dropped.dropWrite = 3;
    QTest::newRow("one write dropped") << dropped << "8859-1" << 2 + 1 << 2 << done;
    SimModem::Options silent;
    silent.silentReadsAfterWrite = true;
    // The range read alone, sent again until the link's deadline, as often
    // as the machine's speed allows. Its positions are unknown now, so the
    // edit sends nothing.
    QTest::newRow("silent during the check") << silent << "8859-1" << 0 << 0 << WindowText::kError;
}

// Nothing is reported written that the phone was not read back holding:
// List1 then shows what the phone holds, and List2 stays to be saved.
void TestSessionWriteCheck::writesReadBack()
{
    QFETCH(SimModem::Options, options);
    QFETCH(QString, charset);
    QFETCH(int, checkCommands);
    QFETCH(int, different);
    QFETCH(QString, editMessage);

    SessionRig r(std::chrono::milliseconds(3000), charset);
    r.phone.setPhonebook(SimStorage::Sim, twelvePositionSim());
    r.phone.setOptions(options);
    QString why;
    QVERIFY2(r.start(&why), qPrintable(why));
    r.connectAndReadSim();
    QVERIFY(r.sort().done);
    const QStringList sorted = r.List2.lines();
    const Outcome written = r.writeBack();
    const QStringList sent = r.newCommands();
    const QStringList check = sent.mid(sent.lastIndexOf(QRegularExpression(QStringLiteral("\\+CPBW=.*"))) + 1);
    if (checkCommands > 0)
        QCOMPARE(check.size(), checkCommands);
    else
        QVERIFY(!check.isEmpty() && check.count(QStringLiteral("+CPBR=1,12")) == check.size());
    QCOMPARE(r.List2.lines(), sorted);
    const QMap<int, SimEntry> held = r.phone.phonebook(SimStorage::Sim);
    if (different < 0) {
        QCOMPARE(written.message, WindowText::kWriteBackDone);
        QCOMPARE(entriesOf(held), twelvePositionSimSorted());
    } else {
        QCOMPARE(written.message, WindowText::kDiffers);
        QCOMPARE(written.selectList1, different);
        for (int p = 1; p <= 12; ++p) {
            const PhonebookEntry shown = *r.List1.entry(p - 1);
            // A phone that went silent has told nothing of any position.
            if (options.silentReadsAfterWrite)
                QVERIFY(shown.unread);
            else if (held.contains(p))
                QCOMPARE(shown.name, held.value(p).text);
            else
                QVERIFY(!shown.unread && shown.isEmpty());
        }
    }

    // One edit, read back too.
    QCOMPARE(r.saveEntry(0, QStringLiteral("Bartolomeo"), QStringLiteral("0612")).message, editMessage);
    if (editMessage == WindowText::kEntryWritten)
        QCOMPARE(r.phone.phonebook(SimStorage::Sim).value(1).text, QStringLiteral("Bartolomeo"));
}

// Each entry goes to its new position with every field; a new name keeps
// the e-mail address, a delete takes everything.
void TestSessionWriteCheck::usimFieldsSurvive()
{
    SessionRig r;
    const SimPhonebook book = twelvePositionSimWithFields();
    r.phone.setPhonebook(SimStorage::Sim, book);
    r.phone.setOptions(SimModem::Options::strict());
    QString why;
    QVERIFY2(r.start(&why), qPrintable(why));
    r.connectAndReadSim();
    QVERIFY(r.sort().done);
    QCOMPARE(r.writeBack().message, WindowText::kWriteBackDone);

    const QList<int> from = {4, 3, 1, 10, 9, 6, 11};
    QMap<int, SimEntry> expected;
    for (int k = 1; k <= from.size(); ++k)
        expected.insert(k, book.entries.value(from.at(k - 1)));
    QCOMPARE(r.phone.phonebook(SimStorage::Sim), expected);

    QCOMPARE(r.saveEntry(2, QStringLiteral("MARIO R."), QStringLiteral("3331234567")).message,
             WindowText::kEntryWritten);
    SimEntry renamed = expected.value(3);
    renamed.text = QStringLiteral("MARIO R.");
    QCOMPARE(r.phone.phonebook(SimStorage::Sim).value(3), renamed);
    QCOMPARE(r.deleteEntry(6).message, WindowText::kEntryWritten);
    QVERIFY(!r.phone.phonebook(SimStorage::Sim).contains(7));
}

QTEST_GUILESS_MAIN(TestSessionWriteCheck)
#include "tst_sessionwritecheck.moc"
