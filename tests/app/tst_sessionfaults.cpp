// SPDX-License-Identifier: GPL-3.0-or-later
// The whole flow at the session, as a user runs it, under the behaviours of
// real phones, ports and adapters. Each scenario that leaves the phone half
// written checks that every entry the phone held at the start is kept in
// the backup of the read, and the run ends with the count of entries lost.
#include "keptbackups.h"
#include "sessionrig.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowtexts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kAsBefore = entriesOf(twelvePositionSim().entries);

const QByteArray kRing = "\r\nRING\r\n";
const QByteArray kNewMessage = "\r\n+CMTI: \"SM\",3\r\n";

using Setup = std::function<void(SimPhone &)>;

}
Q_DECLARE_METATYPE(Setup)

class TestSessionFaults : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void cleanupTestCase();
    void cleanup();

    void wholeFlow_data();
    void wholeFlow();
    void silenceOnOneCommand_data();
    void silenceOnOneCommand();
    void phoneRefusingOneWrite_data();
    void phoneRefusingOneWrite();
    void adapterVanishingMidRead();
    void adapterVanishingMidWriteBack();

private:
    // A session on the twelve-position SIM of a phone set up so, started;
    // with the port open and the SIM read unless told otherwise.
    bool begin(const Setup &setup, bool read = true,
               std::chrono::milliseconds deadline = std::chrono::milliseconds(3000));
    // Every starting entry is in the backup of the read.
    void checkBackupHoldsTheRead();

    std::unique_ptr<SessionRig> r;
    QTemporaryDir m_dir;
    int m_scenarios = 0;
    int m_entriesChecked = 0;
    int m_entriesLost = 0;
};

void TestSessionFaults::cleanupTestCase()
{
    qInfo("fault suite: %d scenarios run, %d entries checked, %d lost", m_scenarios, m_entriesChecked,
          m_entriesLost);
}

void TestSessionFaults::cleanup()
{
    r.reset();
    removeBackups();
}

bool TestSessionFaults::begin(const Setup &setup, bool read, std::chrono::milliseconds deadline)
{
    ++m_scenarios;
    r = std::make_unique<SessionRig>(deadline);
    r->phone.setPhonebook(SimStorage::Sim, twelvePositionSim());
    setup(r->phone);
    QString why;
    if (!r->start(&why)) {
        qWarning("%s", qPrintable(why));
        return false;
    }
    if (!r->openOrClose().done)
        return false;
    return !read || r->read().done;
}

// The way back from a write cut short: every entry the phone held when it
// was read is in the backup of that read, on disk, whatever the phone holds
// now. Read as bytes, not with the program's own list file parser.
void TestSessionFaults::checkBackupHoldsTheRead()
{
    const QStringList files = backups();
    QCOMPARE(files.size(), 1);
    QFile file(files.first());
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The twelve-position SIM's names all fit in Windows-1252, whose
    // letters there are Latin-1's.
    const QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    for (const SimEntry &e : twelvePositionSim().entries) {
        ++m_entriesChecked;
        const bool kept = std::any_of(lines.cbegin(), lines.cend(), [&e](const QString &line) {
            return line.contains(e.text) && line.contains(e.number);
        });
        if (!kept)
            ++m_entriesLost;
        QVERIFY2(kept, qPrintable(e.text + QStringLiteral(" lost")));
    }
}

void TestSessionFaults::wholeFlow_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::newRow("latency") << Setup([](SimPhone &p) { p.setLatency(15); });
    QTest::newRow("19200 baud") << Setup([](SimPhone &p) { p.setLineSpeed(19200); });
    QTest::newRow("answers in single bytes") << Setup([](SimPhone &p) { p.setChunks(1, 1); });
    QTest::newRow("RING between answers") << Setup([](SimPhone &p) { p.setUnsolicited(kRing, 3); });
    QTest::newRow("+CMTI inside answers")
        << Setup([](SimPhone &p) { p.setUnsolicited(kNewMessage, 2, SimPhone::InsideAnswer | SimPhone::BeforeAnswer); });
    QTest::newRow("strict 27.007 phone") << Setup([](SimPhone &p) { p.setOptions(SimModem::Options::strict()); });
}

// Connect, read, sort, save the list, write back, edit one entry, delete
// another, load the saved list and write it back.
void TestSessionFaults::wholeFlow()
{
    QFETCH(Setup, setup);
    QVERIFY(begin(setup));
    QCOMPARE(r->List1.rowCount(), 12);
    QVERIFY(r->sort().done);
    QCOMPARE(r->List2.rowCount(), 7);
    const QString saved = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'));
    QCOMPARE(r->saveList(saved).message, WindowText::kSaved);

    QCOMPARE(r->writeBack().message, WindowText::kWriteBackDone);
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), twelvePositionSimSorted());

    QCOMPARE(r->session->select(2)->name, QStringLiteral("MARIO ROSSI"));
    QCOMPARE(r->saveEntry(2, QStringLiteral("MARIO BIANCHI"), QStringLiteral("3331234567")).message,
             WindowText::kEntryWritten);
    QCOMPARE(r->phone.phonebook(SimStorage::Sim).value(3).text, QStringLiteral("MARIO BIANCHI"));
    QCOMPARE(r->session->select(6)->name, QStringLiteral("Zoe"));
    QCOMPARE(r->deleteEntry(6).message, WindowText::kEntryWritten);
    QVERIFY(!r->phone.phonebook(SimStorage::Sim).contains(7));

    QCOMPARE(r->loadList(saved + QStringLiteral(".rds")).message, WindowText::kLoaded);
    QCOMPARE(r->writeBack().message, WindowText::kWriteBackDone);
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), twelvePositionSimSorted());
}

void TestSessionFaults::silenceOnOneCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("phonebook selection") << "+CPBS";
    QTest::newRow("index range") << "+CPBR=?";
    QTest::newRow("a position") << "+CPBR=5";
}

// A phone that never answers one command: the read gives up after the
// deadline and nothing can be written from what it left.
void TestSessionFaults::silenceOnOneCommand()
{
    QFETCH(QString, command);
    QVERIFY(begin([](SimPhone &) {}, false, std::chrono::milliseconds(300)));
    r->phone.setSilence(QStringList{command});
    QCOMPARE(r->read().message, WindowText::kReadFailed);
    QCOMPARE(r->session->vars().RUBSEL(), QStringLiteral("ERROR"));

    r->sort();
    QCOMPARE(r->writeBack().message, WindowText::kError);
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), kAsBefore);
}

void TestSessionFaults::phoneRefusingOneWrite_data()
{
    QTest::addColumn<bool>("strict");
    QTest::newRow("ERROR") << false;
    QTest::newRow("+CME ERROR") << true;
}

// Positions 1 and 2 are rewritten, the refusal stops the rest at once, and
// a second try completes the write.
void TestSessionFaults::phoneRefusingOneWrite()
{
    QFETCH(bool, strict);
    QVERIFY(begin([strict](SimPhone &p) {
        if (strict)
            p.setOptions(SimModem::Options::strict());
        p.setRefusal(QStringList{QStringLiteral("+CPBW=3,")}, 1);
    }));
    QVERIFY(r->sort().done);
    const QStringList List1Before = r->List1.lines();
    r->newCommands();

    const Outcome refused = r->writeBack();
    // The refused line is named, to be selected in List2.
    QCOMPARE(refused.message, QStringLiteral("ERRORE GRAVE IN SCRITTURA: 03/12 MARIO ROSSI"));
    QCOMPARE(refused.selectList2, 2);
    // Taken at once, not sent again until the deadline.
    QCOMPARE(r->newCommands().filter(QStringLiteral("+CPBW=3,")).size(), 1);
    QCOMPARE(r->List1.lines(), List1Before);
    QMap<int, SimEntry> expected = twelvePositionSim().entries;
    expected[1] = {"3409876543", 129, "anna"};
    expected[2] = {"+393471112233", 145, "ANNALISA"};
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), entriesOf(expected));
    checkBackupHoldsTheRead();

    QCOMPARE(r->writeBack().message, WindowText::kWriteBackDone);
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), twelvePositionSimSorted());
}

void TestSessionFaults::adapterVanishingMidRead()
{
    QVERIFY(begin([](SimPhone &) {}, false));
    r->phone.setHangUpAfter(8);
    QCOMPARE(r->read().message, WindowText::kReadFailed);
    QCOMPARE(r->connections.last(), false);
    QCOMPARE(r->List1.rowCount(), 6);
    QCOMPARE(r->session->vars().RUBSEL(), QStringLiteral("ERROR"));
    // The partial list sorts, but never goes to the phone.
    QVERIFY(r->sort().done);
    QVERIFY(r->List2.rowCount() > 0);
    QCOMPARE(r->writeBack().message, WindowText::kError);
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), kAsBefore);
}

// The line drops after the fourth write: those four are on the phone, the
// session says so and keeps the sorted list to be saved or written again.
void TestSessionFaults::adapterVanishingMidWriteBack()
{
    QVERIFY(begin([](SimPhone &) {}));
    QVERIFY(r->sort().done);
    const QStringList List1Before = r->List1.lines();
    r->phone.setHangUpAfter(4);
    QCOMPARE(r->writeBack().message, WindowText::kWriteFailed);
    QCOMPARE(r->connections.last(), false);
    QCOMPARE(r->List1.lines(), List1Before);
    QMap<int, SimEntry> expected = twelvePositionSim().entries;
    const QMap<int, SimEntry> sorted = {{1, {"3409876543", 129, "anna"}},
                                        {2, {"+393471112233", 145, "ANNALISA"}},
                                        {3, {"3331234567", 129, "MARIO ROSSI"}},
                                        {4, {"3200000000", 129, "Nicola, uff."}}};
    for (auto it = sorted.cbegin(); it != sorted.cend(); ++it)
        expected[it.key()] = it.value();
    QCOMPARE(entriesOf(r->phone.phonebook(SimStorage::Sim)), entriesOf(expected));
    checkBackupHoldsTheRead();

    QCOMPARE(r->saveList(m_dir.filePath(QStringLiteral("after-drop.rds"))).message, WindowText::kSaved);
}

QTEST_GUILESS_MAIN(TestSessionFaults)
#include "tst_sessionfaults.moc"
