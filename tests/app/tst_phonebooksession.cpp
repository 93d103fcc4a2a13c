// SPDX-License-Identifier: GPL-3.0-or-later
// The session against the simulated phone, without the window: what each
// operation sends, what it leaves in the lists and on the phone, and how
// the program ends while an operation runs.
#include "keptbackups.h"
#include "phonebookbackup.h"
#include "sessionrig.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowtexts.h"

#include <QDir>
#include <QTest>

namespace {

QStringList positionReads(int last)
{
    QStringList commands;
    for (int k = 1; k <= last; ++k)
        commands.append(QStringLiteral("+CPBR=%1").arg(k));
    return commands;
}

const QStringList kAsBefore = entriesOf(twelvePositionSim().entries);

}

class TestPhonebookSession : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void init();
    void cleanup();

    void openAndClose();
    void readSortAndWriteBack();
    void readShowsEachPositionAsItComes();
    void editAndDelete();
    void editRefusedWhereThePositionIsUnknown_data();
    void editRefusedWhereThePositionIsUnknown();
    void noWriteBackWithoutBackup();
    void endingTheProgram_data();
    void endingTheProgram();
    void portLostWhileIdle();

private:
    std::unique_ptr<SessionRig> r;
};

void TestPhonebookSession::init()
{
    r = std::make_unique<SessionRig>();
    r->phone.setModel(QStringLiteral("NOKIA 6310i"));
    r->phone.setPhonebook(SimStorage::Sim, twelvePositionSim());
    QString why;
    QVERIFY2(r->start(&why), qPrintable(why));
}

void TestPhonebookSession::cleanup()
{
    r.reset();
    removeBackups();
}

// Opening clears both lists; closing sends nothing.
void TestPhonebookSession::openAndClose()
{
    PhonebookEntry left;
    left.position = 1;
    left.name = QStringLiteral("LEFT");
    r->List1.setEntries({left}, PhonebookLine::Layout::Read, {1, 4, 4});
    r->List2.setEntries({left}, PhonebookLine::Layout::Sorted, {1, 4, 4});

    const Outcome opened = r->openOrClose();
    QVERIFY(opened.done);
    QCOMPARE(opened.message, WindowText::kConnectedTo + QStringLiteral("NOKIA 6310i"));
    QCOMPARE(r->connections, QList<bool>{true});
    QVERIFY(r->session->isPortOpen());
    QCOMPARE(r->List1.rowCount() + r->List2.rowCount(), 0);
    QCOMPARE(r->newCommands(), (QStringList{"Z", "Z", "Z", "E0", "Q0", "V1", "+CGMM", "+CSCS?"}));

    const Outcome closed = r->openOrClose();
    QCOMPARE(closed.message, WindowText::kVisit);
    QCOMPARE(r->connections, (QList<bool>{true, false}));
    QVERIFY(!r->session->isPortOpen());
    QTest::qWait(50);
    QVERIFY(r->newCommands().isEmpty());
}

void TestPhonebookSession::readSortAndWriteBack()
{
    QVERIFY(r->openOrClose().done);
    r->newCommands();

    QCOMPARE(r->read().message, WindowText::kReadDone);
    QCOMPARE(r->newCommands(), (QStringList{"+CPBS=SM", "+CPBR=?"} + positionReads(12)));
    QCOMPARE(r->session->vars().RUBSEL(), QStringLiteral("RUBRICA SIM"));
    QCOMPARE(r->List1.rowCount(), 12);
    QCOMPARE(r->List1.layout(), PhonebookLine::Layout::Read);
    QCOMPARE(backups().size(), 1);

    QCOMPARE(r->sort().message, WindowText::kSortDone);
    QCOMPARE(r->List2.rowCount(), 7);
    QVERIFY(r->newCommands().isEmpty());

    const Outcome written = r->writeBack();
    QCOMPARE(written.message, WindowText::kWriteBackDone);
    QVERIFY(written.done);
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), twelvePositionSimSorted());
    // List1 mirrors the phone, in the sorted layout: List2's lines, then
    // empty positions.
    QCOMPARE(r->List1.layout(), PhonebookLine::Layout::Sorted);
    QCOMPARE(r->List1.lines().mid(0, 7), r->List2.lines());
    QCOMPARE(r->List1.rowCount(), 12);
}

// The panel names the phonebook, the counters get the limits and List1
// grows before the read has ended.
void TestPhonebookSession::readShowsEachPositionAsItComes()
{
    QVERIFY(r->openOrClose().done);
    QList<int> rowsAtLimits;
    QList<int> rowsSeen;
    connect(r->session.get(), &PhonebookSession::limitsChanged, this,
            [this, &rowsAtLimits] { rowsAtLimits.append(r->List1.rowCount()); });
    connect(&r->List1, &QAbstractItemModel::rowsInserted, this,
            [this, &rowsSeen] { rowsSeen.append(r->List1.rowCount()); });
    r->messages.clear();

    QVERIFY(r->read().done);
    QCOMPARE(r->messages, QStringList{WindowText::kReadingSim});
    QCOMPARE(rowsAtLimits, QList<int>{0});
    QCOMPARE(rowsSeen, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    QCOMPARE(r->session->vars().limits.MAXCARNOM, 14);
}

// Each edit touches its own position alone, and List1's line shows what
// the phone holds there.
void TestPhonebookSession::editAndDelete()
{
    r->connectAndReadSim();
    QCOMPARE(r->session->select(5)->name, QStringLiteral("Zio Franz"));
    const Outcome saved = r->saveEntry(5, QStringLiteral(" Casa "), QStringLiteral("0612"));
    QVERIFY(saved.done);
    QCOMPARE(saved.message, WindowText::kEntryWritten);
    QCOMPARE(r->newCommands(), (QStringList{"+CPBW=6,\"0612\",129,\"Casa\"", "+CPBR=6"}));
    QCOMPARE(r->List1.entry(5)->name, QStringLiteral("Casa"));

    const Outcome deleted = r->deleteEntry(0);
    QVERIFY(deleted.done);
    QCOMPARE(deleted.message, WindowText::kEntryWritten);
    QCOMPARE(r->newCommands(), (QStringList{"+CPBW=1", "+CPBR=1"}));
    QVERIFY(r->List1.entry(0)->isEmpty());
    QVERIFY(r->session->select(0)->name.isEmpty());

    QMap<int, SimEntry> expected = twelvePositionSim().entries;
    expected.remove(1);
    expected[6] = {"0612", 129, "Casa"};
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), entriesOf(expected));
}

void TestPhonebookSession::editRefusedWhereThePositionIsUnknown_data()
{
    QTest::addColumn<bool>("reopened");
    // Position 3 holds ANNALISA; answered with an error, the count shows it.
    QTest::newRow("a position the failed read could not account for") << false;
    // The phone now on the port may be another one.
    QTest::newRow("a selection from before the port was opened again") << true;
}

// The save and the delete are each refused with nothing sent.
void TestPhonebookSession::editRefusedWhereThePositionIsUnknown()
{
    QFETCH(bool, reopened);
    QVERIFY(r->openOrClose().done);
    if (reopened) {
        QVERIFY(r->read().done);
    } else {
        SimModem::Options options;
        options.emptyPosition = SimModem::Options::EmptyPosition::NotFound;
        r->phone.setOptions(options);
        r->phone.setRefusal(QStringList{"+CPBR=3"});
        QCOMPARE(r->read().message, WindowText::kReadFailed);
    }
    const std::optional<PhonebookEntry> selected = r->session->select(2);
    QVERIFY(selected);
    QCOMPARE(selected->name.isEmpty(), !reopened);
    if (reopened) {
        r->openOrClose();
        QVERIFY(r->openOrClose().done);
    }
    r->newCommands();

    const auto inTheBoxes = [](PhonebookSession &s) { s.saveSelected(QStringLiteral("NUOVO"), QStringLiteral("0699")); };
    QCOMPARE(r->run(inTheBoxes).message, WindowText::kError);
    QCOMPARE(r->run([](PhonebookSession &s) { s.deleteSelected(); }).message, WindowText::kError);
    QVERIFY(r->newCommands().isEmpty());
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), kAsBefore);
}

// A read whose backup cannot be written leaves the phone as it is: the
// write-back would overwrite entries kept nowhere else. The next read that
// is kept lets the list go to the phone.
void TestPhonebookSession::noWriteBackWithoutBackup()
{
    // A regular file where the backups folder should be stops root too.
    QVERIFY(QDir().mkpath(QFileInfo(backupFolder()).path()));
    QFile blocker(backupFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QVERIFY(r->openOrClose().done);
    QCOMPARE(r->read().message, WindowText::kBackupFailed);
    QCOMPARE(r->session->vars().RUBSEL(), QStringLiteral("RUBRICA SIM"));
    QCOMPARE(r->List1.rowCount(), 12);
    QVERIFY(r->sort().done);
    QCOMPARE(r->List2.rowCount(), 7);
    r->newCommands();
    QCOMPARE(r->writeBack().message, WindowText::kBackupFailed);
    QVERIFY(r->newCommands().isEmpty());
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), kAsBefore);

    QVERIFY(blocker.remove());
    QVERIFY(r->read().done);
    QVERIFY(r->sort().done);
    QVERIFY(r->writeBack().done);
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), twelvePositionSimSorted());
}

void TestPhonebookSession::endingTheProgram_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<bool>("resetPhone");
    QTest::newRow("exit panel, idle") << false << true;
    QTest::newRow("window closed, idle") << false << false;
    QTest::newRow("exit panel during a read") << true << true;
    QTest::newRow("window closed during a read") << true << false;
}

// A read stops at its next step; the phone gets its reset when the exit
// panel asked for it, and the program ends once.
void TestPhonebookSession::endingTheProgram()
{
    QFETCH(bool, reading);
    QFETCH(bool, resetPhone);
    r->phone.setLatency(20);
    QVERIFY(r->openOrClose().done);
    r->newCommands();
    if (reading) {
        r->session->read(kSelectorSim);
        QVERIFY(r->phone.waitForCommandCount(int(r->phone.commands().size()) + 4, 5000));
    }
    r->session->askToEnd(resetPhone);
    QVERIFY(QTest::qWaitFor([this] { return r->finishedCount > 0; }, 10000));
    QTest::qWait(50);

    QCOMPARE(r->finishedCount, 1);
    const QStringList sent = r->newCommands();
    QCOMPARE(!sent.isEmpty() && sent.last() == QLatin1String("Z"), resetPhone);
    QCOMPARE(sent.isEmpty(), !reading && !resetPhone);
    QVERIFY(!sent.contains(QStringLiteral("+CPBR=12")));
    QCOMPARE(r->session->vars().RUBSEL(), QStringLiteral("ERROR"));
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), kAsBefore);
}

void TestPhonebookSession::portLostWhileIdle()
{
    QVERIFY(r->openOrClose().done);
    r->messages.clear();
    r->phone.stop();
    QVERIFY(QTest::qWaitFor([this] { return r->connections.size() == 2; }, 5000));
    QCOMPARE(r->connections.last(), false);
    QCOMPARE(r->messages, QStringList{WindowText::kConnectionError});
    QVERIFY(!r->session->isPortOpen());
}

QTEST_GUILESS_MAIN(TestPhonebookSession)
#include "tst_phonebooksession.moc"
