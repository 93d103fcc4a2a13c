// The whole flow, as a user runs it, under the behaviours of real phones,
// ports and adapters. Each scenario ends by checking the phone's phonebook
// against the entries it held at the start: every one of them must be on
// the phone or in the sorted list the user still has, unless the user
// deleted it.
#include "phonebooklistmodel.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowsession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QStringList kSortedOnPhone = twelvePositionSimSorted();

const QByteArray kRing = "\r\nRING\r\n";
const QByteArray kNewMessage = "\r\n+CMTI: \"SM\",3\r\n";

using Setup = std::function<void(SimPhone &)>;

bool isWrite(const QString &command, int position)
{
    return command.startsWith(QStringLiteral("+CPBW=%1,").arg(position));
}

}
Q_DECLARE_METATYPE(Setup)

class FaultSuite : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void cleanupTestCase();
    void init();
    void cleanup();

    void wholeFlow_data();
    void wholeFlow();
    void silenceOnOneCommand_data();
    void silenceOnOneCommand();
    void phoneRefusingOneWrite_data();
    void phoneRefusingOneWrite();
    void adapterVanishingMidRead();
    void adapterVanishingMidWriteBack();
    void exitDuringRead();

private:
    bool begin(const Setup &setup, std::chrono::milliseconds deadline = std::chrono::milliseconds(3000));
    void connectAndRead();
    // Every starting entry is on the phone or in List2 unless deleted.
    void checkBackupHoldsTheRead();

    std::unique_ptr<WindowSession> s;
    QTemporaryDir m_dir;
    int m_scenarios = 0;
    int m_entriesChecked = 0;
    int m_entriesLost = 0;
};

void FaultSuite::cleanupTestCase()
{
    qInfo("fault suite: %d scenarios run, %d entries checked, %d lost", m_scenarios, m_entriesChecked,
          m_entriesLost);
}

void FaultSuite::init()
{
    s = std::make_unique<WindowSession>();
}

void FaultSuite::cleanup()
{
    s.reset();
}

bool FaultSuite::begin(const Setup &setup, std::chrono::milliseconds deadline)
{
    ++m_scenarios;
    removeBackups();
    s = std::make_unique<WindowSession>(deadline);
    s->phone.setPhonebook(SimStorage::Sim, twelvePositionSim());
    setup(s->phone);
    QString why;
    if (!s->start(&why)) {
        qWarning("%s", qPrintable(why));
        return false;
    }
    return true;
}

void FaultSuite::connectAndRead()
{
    s->click(s->form->Command1);
    QCOMPARE(s->connection(), QStringLiteral("CONNESSO"));
    s->click(s->form->Command2);
}

// The way back from a write cut short: every entry the phone held when it
// was read is in the backup of that read, on disk, whatever the phone holds
// now. Read as bytes, not with the program's own list file parser.
void FaultSuite::checkBackupHoldsTheRead()
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

void FaultSuite::wholeFlow_data()
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
void FaultSuite::wholeFlow()
{
    QFETCH(Setup, setup);
    QVERIFY(begin(setup));
    Form1 &f = *s->form;
    connectAndRead();
    QCOMPARE(s->message(), QStringLiteral("LETTURA TERMINATA"));
    QCOMPARE(f.list1Rows().rowCount(), 12);

    s->click(f.Command6);
    QCOMPARE(f.list2Rows().rowCount(), 7);
    s->chooser.saveName = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'));
    s->click(f.Command5);
    QCOMPARE(s->message(), QStringLiteral("SALVATAGGIO ULTIMATO"));

    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);

    s->selectLine(2);
    QCOMPARE(f.Text1->text(), QStringLiteral("MARIO ROSSI"));
    s->type(f.Text1, QStringLiteral("MARIO BIANCHI"));
    s->click(f.Command7);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA COMPLETATA"));
    QCOMPARE(s->phone.phonebook(SimStorage::Sim).value(3).text, QStringLiteral("MARIO BIANCHI"));

    s->selectLine(6);
    QCOMPARE(f.Text1->text(), QStringLiteral("Zoe"));
    s->click(f.Command8);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA COMPLETATA"));
    QVERIFY(!s->phone.phonebook(SimStorage::Sim).contains(7));

    s->chooser.openName = s->chooser.saveName + QStringLiteral(".rds");
    s->click(f.Command4);
    QCOMPARE(s->message(), QStringLiteral("CARICAMENTO ULTIMATO"));
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
}

void FaultSuite::silenceOnOneCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    QTest::newRow("phonebook selection") << "+CPBS" << "ERRORE: LETTURA RUBRICA";
    QTest::newRow("index range") << "+CPBR=?" << "ERRORE: LETTURA RUBRICA";
    QTest::newRow("a position") << "+CPBR=5" << "ERRORE: LETTURA RUBRICA";
}

// A phone that never answers one command: the read gives up after the
// deadline and nothing can be written from what it left.
void FaultSuite::silenceOnOneCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, message);
    QVERIFY(begin([](SimPhone &) {}, std::chrono::milliseconds(300)));
    Form1 &f = *s->form;
    s->click(f.Command1);
    s->phone.setSilence(QStringList{command});
    s->click(f.Command2);
    QCOMPARE(s->message(), message);
    QCOMPARE(f.vars().RUBSEL(), QStringLiteral("ERROR"));

    s->click(f.Command6);
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
}

void FaultSuite::phoneRefusingOneWrite_data()
{
    QTest::addColumn<bool>("strict");
    QTest::newRow("ERROR") << false;
    QTest::newRow("+CME ERROR") << true;
}

// Positions 1 and 2 are rewritten, the refusal stops the rest at once, and
// a second try completes the write.
void FaultSuite::phoneRefusingOneWrite()
{
    QFETCH(bool, strict);
    QVERIFY(begin([strict](SimPhone &p) {
        if (strict)
            p.setOptions(SimModem::Options::strict());
        p.setRefusal([](const QString &c) { return isWrite(c, 3); }, 1);
    }));
    Form1 &f = *s->form;
    connectAndRead();
    s->click(f.Command6);
    const QStringList List1Before = f.list1Rows().lines();

    QElapsedTimer clock;
    clock.start();
    s->click(f.Command3);
    // The refused line is named, and selected in List2.
    QCOMPARE(s->message(), QStringLiteral("ERRORE GRAVE IN SCRITTURA: 03/12 MARIO ROSSI"));
    QCOMPARE(f.List2->currentIndex().row(), 2);
    // Not after the deadline and a hundred resends.
    QVERIFY(clock.elapsed() < 2000);
    QCOMPARE(f.list1Rows().lines(), List1Before);
    QMap<int, SimEntry> expected = twelvePositionSim().entries;
    expected[1] = {"3409876543", 129, "anna"};
    expected[2] = {"+393471112233", 145, "ANNALISA"};
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(expected));
    checkBackupHoldsTheRead();

    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
}

void FaultSuite::adapterVanishingMidRead()
{
    QVERIFY(begin([](SimPhone &) {}));
    Form1 &f = *s->form;
    s->click(f.Command1);
    s->phone.setHangUpAfter(8);
    s->click(f.Command2);
    QCOMPARE(s->message(), QStringLiteral("ERRORE: LETTURA RUBRICA"));
    QCOMPARE(s->connection(), QStringLiteral("DISCONNESSO"));
    QVERIFY(f.VScroll1->isEnabled());
    QCOMPARE(f.list1Rows().rowCount(), 6);
    QCOMPARE(f.vars().RUBSEL(), QStringLiteral("ERROR"));
    // The partial list sorts, but never goes to the phone.
    s->click(f.Command6);
    QVERIFY(f.list2Rows().rowCount() > 0);
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
}

// The line drops after the fourth write: those four are on the phone, the
// window says so and keeps the sorted list to be saved or written again.
void FaultSuite::adapterVanishingMidWriteBack()
{
    QVERIFY(begin([](SimPhone &) {}));
    Form1 &f = *s->form;
    connectAndRead();
    s->click(f.Command6);
    const QStringList List1Before = f.list1Rows().lines();
    s->phone.setHangUpAfter(4);
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE GRAVE IN SCRITTURA"));
    QCOMPARE(s->connection(), QStringLiteral("DISCONNESSO"));
    QCOMPARE(f.list1Rows().lines(), List1Before);
    QMap<int, SimEntry> expected = twelvePositionSim().entries;
    const QMap<int, SimEntry> sorted = {{1, {"3409876543", 129, "anna"}},
                                        {2, {"+393471112233", 145, "ANNALISA"}},
                                        {3, {"3331234567", 129, "MARIO ROSSI"}},
                                        {4, {"3200000000", 129, "Nicola, uff."}}};
    for (auto it = sorted.cbegin(); it != sorted.cend(); ++it)
        expected[it.key()] = it.value();
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(expected));
    checkBackupHoldsTheRead();

    s->chooser.saveName = m_dir.filePath(QStringLiteral("after-drop.rds"));
    s->click(f.Command5);
    QCOMPARE(s->message(), QStringLiteral("SALVATAGGIO ULTIMATO"));
}

void FaultSuite::exitDuringRead()
{
    QVERIFY(begin([](SimPhone &p) { p.setLatency(20); }));
    s->click(s->form->Command1);
    s->newCommands();
    QTimer::singleShot(120, s->form.get(), [this] { s->clickExitPanel(); });
    s->click(s->form->Command2);
    QCOMPARE(s->finishedCount, 1);
    const QStringList sent = s->newCommands();
    QCOMPARE(sent.last(), QStringLiteral("Z"));
    QVERIFY(!sent.contains(QStringLiteral("+CPBR=12")));
    QCOMPARE(s->form->vars().RUBSEL(), QStringLiteral("ERROR"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
}

QTEST_MAIN(FaultSuite)
#include "tst_faultsuite.moc"
