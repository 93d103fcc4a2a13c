// The session against the simulated phone, without the window: what each
// operation sends, what it leaves in the lists and on the phone, and how
// the program ends while an operation runs.
#include "phonebookbackup.h"
#include "sessionrig.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowtexts.h"

#include <QDir>
#include <QTest>

namespace {

QStringList entriesOf(const QMap<int, SimEntry> &entries)
{
    QStringList out;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        out.append(QStringLiteral("%1|%2|%3|%4").arg(it.key()).arg(it->number).arg(it->type).arg(it->text));
    return out;
}

QStringList positionReads(int last)
{
    QStringList commands;
    for (int k = 1; k <= last; ++k)
        commands.append(QStringLiteral("+CPBR=%1").arg(k));
    return commands;
}

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
    void noWriteBackWithoutBackup();
    void endWhileReading();
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
    QDir(backupFolder()).removeRecursively();
}

// Opening clears both lists; closing sends nothing.
void TestPhonebookSession::openAndClose()
{
    PhonebookEntry left;
    left.position = 1;
    left.name = QStringLiteral("LEFT");
    r->List1.setEntries({left}, PhonebookLine::Layout::Read, {1, 4, 4});
    r->List2.setEntries({left}, PhonebookLine::Layout::Sorted, {1, 4, 4});

    const Outcome opened = r->run([](PhonebookSession &s) { s.openOrClose(1); });
    QVERIFY(opened.done);
    QCOMPARE(opened.message, WindowText::kConnectedTo + QStringLiteral("NOKIA 6310i"));
    QCOMPARE(r->connections, QList<bool>{true});
    QVERIFY(r->session->isPortOpen());
    QCOMPARE(r->List1.rowCount() + r->List2.rowCount(), 0);
    QCOMPARE(r->newCommands(), (QStringList{"Z", "Z", "Z", "E0", "Q0", "V1", "+CGMM", "+CSCS?"}));

    const Outcome closed = r->run([](PhonebookSession &s) { s.openOrClose(1); });
    QCOMPARE(closed.message, WindowText::kVisit);
    QCOMPARE(r->connections, (QList<bool>{true, false}));
    QVERIFY(!r->session->isPortOpen());
    QTest::qWait(50);
    QVERIFY(r->newCommands().isEmpty());
}

void TestPhonebookSession::readSortAndWriteBack()
{
    QVERIFY(r->run([](PhonebookSession &s) { s.openOrClose(1); }).done);
    r->newCommands();

    const Outcome read = r->run([](PhonebookSession &s) { s.read(kSelectorSim); });
    QCOMPARE(read.message, WindowText::kReadDone);
    QCOMPARE(r->newCommands(), (QStringList{"+CPBS=SM", "+CPBR=?"} + positionReads(12)));
    QCOMPARE(r->session->vars().RUBSEL(), QStringLiteral("RUBRICA SIM"));
    QCOMPARE(r->List1.rowCount(), 12);
    QCOMPARE(r->List1.layout(), PhonebookLine::Layout::Read);
    QCOMPARE(QDir(backupFolder()).entryList({QStringLiteral("*.RDS")}).size(), 1);

    const Outcome sorted = r->run([](PhonebookSession &s) { s.sort(); });
    QCOMPARE(sorted.message, WindowText::kSortDone);
    QCOMPARE(r->List2.rowCount(), 7);
    QVERIFY(r->newCommands().isEmpty());

    const Outcome written = r->run([](PhonebookSession &s) { s.writeBack(); });
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
    QVERIFY(r->run([](PhonebookSession &s) { s.openOrClose(1); }).done);
    QList<int> rowsAtLimits;
    QList<int> rowsSeen;
    connect(r->session.get(), &PhonebookSession::limitsChanged, this,
            [this, &rowsAtLimits] { rowsAtLimits.append(r->List1.rowCount()); });
    connect(&r->List1, &QAbstractItemModel::rowsInserted, this,
            [this, &rowsSeen] { rowsSeen.append(r->List1.rowCount()); });
    r->messages.clear();

    QVERIFY(r->run([](PhonebookSession &s) { s.read(kSelectorSim); }).done);
    QCOMPARE(r->messages, QStringList{WindowText::kReadingSim});
    QCOMPARE(rowsAtLimits, QList<int>{0});
    QCOMPARE(rowsSeen, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    QCOMPARE(r->session->vars().MAXCARNOM, 14);
}

void TestPhonebookSession::editAndDelete()
{
    r->connectAndReadSim();
    QCOMPARE(r->session->select(5)->name, QStringLiteral("Zio Franz"));
    const Outcome saved = r->run([](PhonebookSession &s) { s.saveSelected(QStringLiteral(" Casa "), QStringLiteral("0612")); });
    QVERIFY(saved.done);
    QCOMPARE(saved.message, WindowText::kEntryWritten);
    QCOMPARE(r->newCommands(), (QStringList{"+CPBW=6,\"0612\",129,\"Casa\"", "+CPBR=6"}));
    QCOMPARE(r->List1.entry(5)->name, QStringLiteral("Casa"));

    r->session->select(0);
    QVERIFY(r->run([](PhonebookSession &s) { s.deleteSelected(); }).done);
    QCOMPARE(r->newCommands(), (QStringList{"+CPBW=1", "+CPBR=1"}));
    QVERIFY(r->List1.entry(0)->isEmpty());
    QVERIFY(!r->phone.phonebook(SimStorage::Sim).contains(1));
}

// A read whose backup cannot be written leaves the phone as it is: the
// write-back would overwrite entries kept nowhere else.
void TestPhonebookSession::noWriteBackWithoutBackup()
{
    QVERIFY(QDir().mkpath(QFileInfo(backupFolder()).path()));
    QFile blocker(backupFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QVERIFY(r->run([](PhonebookSession &s) { s.openOrClose(1); }).done);
    QCOMPARE(r->run([](PhonebookSession &s) { s.read(kSelectorSim); }).message, WindowText::kBackupFailed);
    QVERIFY(r->run([](PhonebookSession &s) { s.sort(); }).done);
    r->newCommands();
    QCOMPARE(r->run([](PhonebookSession &s) { s.writeBack(); }).message, WindowText::kBackupFailed);
    QVERIFY(r->newCommands().isEmpty());
    QFile::remove(backupFolder());
}

// The read stops at its next step, the phone gets its reset, and the
// program ends once.
void TestPhonebookSession::endWhileReading()
{
    r->phone.setLatency(20);
    QVERIFY(r->run([](PhonebookSession &s) { s.openOrClose(1); }).done);
    r->newCommands();
    r->session->read(kSelectorSim);
    QVERIFY(r->phone.waitForCommandCount(int(r->phone.commands().size()) + 4, 5000));
    r->session->askToEnd(true);
    QVERIFY(QTest::qWaitFor([this] { return r->finishedCount > 0; }, 10000));
    QTest::qWait(50);

    QCOMPARE(r->finishedCount, 1);
    const QStringList sent = r->newCommands();
    QCOMPARE(sent.last(), QStringLiteral("Z"));
    QVERIFY(!sent.contains(QStringLiteral("+CPBR=12")));
    QCOMPARE(r->session->vars().RUBSEL(), QStringLiteral("ERROR"));
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
}

void TestPhonebookSession::portLostWhileIdle()
{
    QVERIFY(r->run([](PhonebookSession &s) { s.openOrClose(1); }).done);
    r->messages.clear();
    r->phone.stop();
    QVERIFY(QTest::qWaitFor([this] { return r->connections.size() == 2; }, 5000));
    QCOMPARE(r->connections.last(), false);
    QCOMPARE(r->messages, QStringList{WindowText::kConnectionError});
    QVERIFY(!r->session->isPortOpen());
}

QTEST_GUILESS_MAIN(TestPhonebookSession)
#include "tst_phonebooksession.moc"
