// SPDX-License-Identifier: GPL-3.0-or-later
// The window against the simulated phone over a pseudo-terminal, for what
// the window itself does: the clicks that start the operations, the
// controls disabled while one runs, the panels, the counters and the edit
// boxes, the rows selected once it has ended, and the ways the program ends
// while it runs. What each operation sends and leaves is the session's,
// tested without the window.
#include "fractionprogressbar.h"
#include "keptbackups.h"
#include "phonebooklistmodel.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowsession.h"
#include "windowtexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kModel = QStringLiteral("NOKIA 6310i");

int selectedRow(const QListView &list)
{
    const QModelIndexList rows = list.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// What the window shows as each position of a read comes in.
struct WhileReading {
    QString message;
    bool buttonEnabled;
    bool selectorEnabled;
    double progress;
};

}

class Form1PhoneTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void init();
    void cleanup();

    void wholeErrand();
    void copySimIntoEmptyPhoneMemory();
    void controlsDisabledWhileAnOperationRuns();
    void editBoxesFollowTheSelection();
    void rowSelectedAfterAnOutcome_data();
    void rowSelectedAfterAnOutcome();
    void endingWhileAReadRuns_data();
    void endingWhileAReadRuns();

private:
    std::unique_ptr<WindowSession> s;
};

void Form1PhoneTest::init()
{
    s = startedOnTwelvePositionSim(kModel);
    QVERIFY(s);
}

void Form1PhoneTest::cleanup()
{
    s.reset();
    removeBackups();
}

// Open, read, sort, save, write back, load the saved list and close, each
// with its button, as the user runs the errand.
void Form1PhoneTest::wholeErrand()
{
    Form1 &f = *s->form;
    QTemporaryDir dir;
    s->click(f.Command1);
    QCOMPARE(s->connection(), WindowText::kConnected);
    QCOMPARE(s->message(), WindowText::kConnectedTo + kModel);
    QVERIFY(!f.VScroll1->isEnabled());

    s->click(f.Command2);
    QCOMPARE(s->message(), WindowText::kReadDone);
    QCOMPARE(f.list1Rows().rowCount(), 12);
    QCOMPARE(f.Label7->text(), QStringLiteral("0/14"));
    QCOMPARE(f.Label8->text(), QStringLiteral("0/20"));

    s->click(f.Command6);
    QCOMPARE(s->message(), WindowText::kSortDone);
    QCOMPARE(f.list2Rows().rowCount(), 7);
    s->chooser.saveName = dir.filePath(QStringLiteral("rubrica"));
    s->click(f.Command5);
    QCOMPARE(s->message(), WindowText::kSaved);

    s->click(f.Command3);
    QCOMPARE(s->message(), WindowText::kWriteBackDone);
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), twelvePositionSimSorted());
    s->selectLine(1);
    QCOMPARE(f.Label1->text(), QStringLiteral("02/12 "));
    QCOMPARE(f.Text1->text(), QStringLiteral("ANNALISA"));
    QCOMPARE(f.Text2->text(), QStringLiteral("+393471112233"));

    // The load leaves the edit area as it was.
    s->chooser.openName = s->chooser.saveName + QStringLiteral(".rds");
    s->click(f.Command4);
    QCOMPARE(s->message(), WindowText::kLoaded);
    QCOMPARE(f.list1Rows().rowCount(), 0);
    QCOMPARE(f.Label1->text(), QStringLiteral("02/12 "));

    s->click(f.Command1);
    QCOMPARE(s->connection(), WindowText::kDisconnected);
    QCOMPARE(s->message(), WindowText::kVisit);
    QVERIFY(f.VScroll1->isEnabled());
}

// Read the SIM, sort it and save the list; read the phone memory, empty
// and without a range to tell, as some Samsung phones have it; load the
// list and write it back. The memory holds the SIM's entries from 1, the
// SIM is as it was, and the empty memory left no backup.
void Form1PhoneTest::copySimIntoEmptyPhoneMemory()
{
    Form1 &f = *s->form;
    SimModem::Options samsung;
    samsung.cmee = SimModem::NumberedErrors;
    samsung.noRangeWhenEmpty = true;
    s->phone.setOptions(samsung);
    SimPhonebook memory;
    memory.last = 20;
    memory.textLength = 20;
    s->phone.setPhonebook(SimStorage::PhoneMemory, memory);
    QTemporaryDir dir;
    s->connectPhone();
    s->readSim();
    s->click(f.Command6);
    s->chooser.saveName = dir.filePath(QStringLiteral("sim"));
    s->click(f.Command5);
    QCOMPARE(s->message(), WindowText::kSaved);

    s->click(f.Command9);
    QCOMPARE(s->message(), WindowText::kReadDone);
    const QStringList asked = s->newCommands();
    QCOMPARE(asked.mid(0, 4), (QStringList{"+CPBS=ME", "+CPBR=?", "+CPBW=?", "+CPBR=1"}));
    QCOMPARE(asked.size(), 3 + memory.last);
    QCOMPARE(f.list1Rows().rowCount(), memory.last);
    QCOMPARE(f.Label7->text(), QStringLiteral("0/20"));
    QCOMPARE(f.Label8->text(), QStringLiteral("0/40"));

    s->chooser.openName = s->chooser.saveName + QStringLiteral(".rds");
    s->click(f.Command4);
    QCOMPARE(s->message(), WindowText::kLoaded);
    s->click(f.Command3);
    QCOMPARE(s->message(), WindowText::kWriteBackDone);
    QVERIFY(s->newCommands().filter(QStringLiteral("+CPBS=")).isEmpty());
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::PhoneMemory)), twelvePositionSimSorted());
    QCOMPARE(s->phone.phonebook(SimStorage::Sim), twelvePositionSim().entries);
    QCOMPARE(f.list1Rows().rowCount(), memory.last);
    const QStringList kept = backups();
    QCOMPARE(kept.size(), 1);
    QVERIFY(kept.first().contains(QStringLiteral(" SIM ")));
}

// The window stays live during a read: the panel names it, the bar moves,
// and no button nor the selector takes a second operation meanwhile. A port
// lost during an operation frees the selector once it has ended.
void Form1PhoneTest::controlsDisabledWhileAnOperationRuns()
{
    Form1 &f = *s->form;
    const QList<QPushButton *> buttons = {f.Command1, f.Command2, f.Command3, f.Command4, f.Command5,
                                          f.Command6, f.Command7, f.Command8, f.Command9};
    s->phone.setPhonebook(SimStorage::PhoneMemory, twelvePositionSim());
    s->connectPhone();
    QList<WhileReading> seen;
    connect(&f.list1Rows(), &QAbstractItemModel::rowsInserted, this, [&] {
        const bool anyEnabled = std::any_of(buttons.cbegin(), buttons.cend(),
                                            [](const QPushButton *b) { return b->isEnabled(); });
        seen.append({s->message(), anyEnabled, f.VScroll1->isEnabled(), f.ProgressBar1->valueF()});
    });

    s->click(f.Command9);
    QCOMPARE(s->newCommands().first(), QStringLiteral("+CPBS=ME"));
    QCOMPARE(seen.size(), 12);
    for (const WhileReading &w : std::as_const(seen)) {
        QCOMPARE(w.message, WindowText::kReadingPhone);
        QVERIFY(!w.buttonEnabled && !w.selectorEnabled);
    }
    QVERIFY(seen.last().progress > seen.first().progress);
    QCOMPARE(s->message(), WindowText::kReadDone);
    for (const QPushButton *b : buttons)
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(!f.VScroll1->isEnabled());

    s->phone.setHangUpAfter(3);
    s->click(f.Command2);
    QCOMPARE(s->connection(), WindowText::kDisconnected);
    QCOMPARE(s->message(), WindowText::kReadFailed);
    QVERIFY(f.VScroll1->isEnabled());
}

// A selection fills the boxes and the counters against the phone's limits;
// the boxes' texts go to the phone; a delete and a read empty the boxes.
void Form1PhoneTest::editBoxesFollowTheSelection()
{
    Form1 &f = *s->form;
    s->connectPhone();
    s->readSim();

    s->selectLine(5);
    QCOMPARE(f.Label1->text(), QStringLiteral("06/12 "));
    QCOMPARE(f.Text1->text(), QStringLiteral("Zio Franz"));
    QCOMPARE(f.Text2->text(), QStringLiteral("+41791234567"));
    QCOMPARE(f.Label7->text(), QStringLiteral("9/14"));
    QCOMPARE(f.Label8->text(), QStringLiteral("12/20"));
    s->type(f.Text1, QStringLiteral(" Casa al mare, nuova"));
    QCOMPARE(f.Text1->text(), QStringLiteral(" Casa al mare,"));
    QCOMPARE(f.Label7->text(), QStringLiteral("14/14"));
    s->type(f.Text2, QStringLiteral("+39 0612"));
    QCOMPARE(f.Label8->text(), QStringLiteral("8/20"));

    s->click(f.Command7);
    QCOMPARE(s->message(), WindowText::kEntryWritten);
    QCOMPARE(s->phone.phonebook(SimStorage::Sim).value(6), (SimEntry{"+39 0612", 145, "Casa al mare,"}));

    s->selectLine(0);
    QCOMPARE(f.Text1->text(), QStringLiteral("MARIO ROSSI"));
    s->click(f.Command8);
    QCOMPARE(s->message(), WindowText::kEntryWritten);
    QVERIFY(!s->phone.phonebook(SimStorage::Sim).contains(1));
    QVERIFY(f.Text1->text().isEmpty() && f.Text2->text().isEmpty());
    s->selectLine(0);
    QCOMPARE(f.Label1->text(), QStringLiteral("01/12 "));
    QVERIFY(f.Text1->text().isEmpty());

    s->selectLine(2);
    s->click(f.Command2);
    QVERIFY(f.Label1->text().isEmpty() && f.Text1->text().isEmpty() && f.Text2->text().isEmpty());
    QCOMPARE(f.Label7->text(), QStringLiteral("0/14"));
}

void Form1PhoneTest::rowSelectedAfterAnOutcome_data()
{
    QTest::addColumn<SimModem::Options>("options");
    QTest::addColumn<QString>("refused");
    // The rows selected in List1 and List2; -1 for none.
    QTest::addColumn<int>("list1Row");
    QTest::addColumn<int>("list2Row");

    QTest::newRow("write refused: its line in List2") << SimModem::Options() << "+CPBW=3," << -1 << 2;
    SimModem::Options dropped;
    dropped.dropWrite = 3;
    QTest::newRow("check differs: the first position that does, in List1") << dropped << QString() << 2 << -1;
}

void Form1PhoneTest::rowSelectedAfterAnOutcome()
{
    QFETCH(SimModem::Options, options);
    QFETCH(QString, refused);
    QFETCH(int, list1Row);
    QFETCH(int, list2Row);
    Form1 &f = *s->form;
    s->phone.setOptions(options);
    if (!refused.isEmpty())
        s->phone.setRefusal(QStringList{refused});
    s->connectPhone();
    s->readSim();
    s->click(f.Command6);
    s->click(f.Command3);
    QCOMPARE(selectedRow(*f.List1), list1Row);
    QCOMPARE(selectedRow(*f.List2), list2Row);
    // A row selected in List1 is in the edit area, to be put right.
    QCOMPARE(f.Label1->text(), list1Row < 0 ? QString() : QStringLiteral("03/12 "));
}

void Form1PhoneTest::endingWhileAReadRuns_data()
{
    QTest::addColumn<bool>("exitPanel");
    QTest::newRow("exit panel: the phone reset") << true;
    QTest::newRow("window closed: nothing more sent") << false;
}

// The click reaches the session while the read runs, and the program ends
// once, once the read has stopped.
void Form1PhoneTest::endingWhileAReadRuns()
{
    QFETCH(bool, exitPanel);
    Form1 &f = *s->form;
    s->phone.setLatency(50);
    s->connectPhone();
    connect(&f.list1Rows(), &QAbstractItemModel::rowsInserted, this, [&] {
        if (f.list1Rows().rowCount() != 2)
            return;
        if (exitPanel)
            s->clickExitPanel();
        else
            f.close();
    });
    s->clickAndGoOn(f.Command2);
    QVERIFY(QTest::qWaitFor([this] { return s->finishedCount > 0; }, 30000));
    QTest::qWait(100);

    QCOMPARE(s->finishedCount, 1);
    const QStringList sent = s->newCommands();
    QCOMPARE(sent.last() == QLatin1String("Z"), exitPanel);
}

QTEST_MAIN(Form1PhoneTest)
#include "tst_form1phone.moc"
