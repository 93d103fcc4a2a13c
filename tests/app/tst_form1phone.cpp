// The window against the simulated phone over a pseudo-terminal: what the
// user does, what reaches the phone, and what the phone holds afterwards.
#include "keptbackups.h"
#include "phonebookbackup.h"
#include "phonebooklistmodel.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowsession.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

const QString kModel = QStringLiteral("NOKIA 6310i");

const QStringList kSortedOnPhone = twelvePositionSimSorted();

}

class Form1PhoneTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void init();
    void cleanup();

    void connectAndDisconnect();
    void silentPhoneIsNoConnection();
    void readSortAndWriteBack();
    void emptyPositionsAnsweredWithErrors_data();
    void emptyPositionsAnsweredWithErrors();
    void editAndDeleteOneEntry();
    void editRefusedWhereItCouldMislead();
    void phonesWithOtherHabits_data();
    void phonesWithOtherHabits();
    void exitPanelResetsThePhone();

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

void Form1PhoneTest::connectAndDisconnect()
{
    Form1 &f = *s->form;
    s->click(f.Command1);
    QCOMPARE(s->connection(), QStringLiteral("CONNESSO"));
    QCOMPARE(s->message(), QStringLiteral("CONNESSO A ") + kModel);
    QCOMPARE(s->newCommands(), (QStringList{"Z", "Z", "Z", "E0", "Q0", "V1", "+CGMM", "+CSCS?"}));
    QVERIFY(!f.VScroll1->isEnabled());

    s->click(f.Command1);
    QCOMPARE(s->connection(), QStringLiteral("DISCONNESSO"));
    QVERIFY(s->message().startsWith(QStringLiteral("Visita: ")));
    QVERIFY(f.VScroll1->isEnabled());
    QTest::qWait(50);
    QVERIFY(s->newCommands().isEmpty());
}

void Form1PhoneTest::silentPhoneIsNoConnection()
{
    s.reset();
    s = std::make_unique<WindowSession>(std::chrono::milliseconds(200));
    s->phone.setSilence([](const QString &) { return true; });
    QString why;
    QVERIFY2(s->start(&why), qPrintable(why));

    s->click(s->form->Command1);
    QCOMPARE(s->connection(), QStringLiteral("DISCONNESSO"));
    QCOMPARE(s->message(), QStringLiteral("ERRORE DI CONNESSIONE.."));
    QVERIFY(s->form->VScroll1->isEnabled());
}

void Form1PhoneTest::readSortAndWriteBack()
{
    Form1 &f = *s->form;
    s->connectPhone();
    s->click(f.Command2);
    QCOMPARE(s->message(), QStringLiteral("LETTURA TERMINATA"));
    QStringList expected{"+CPBS=SM", "+CPBR=?"};
    for (int k = 1; k <= 12; ++k)
        expected.append(QStringLiteral("+CPBR=%1").arg(k));
    QCOMPARE(s->newCommands(), expected);
    QCOMPARE(f.list1Rows().rowCount(), 12);
    QCOMPARE(f.vars().RUBSEL(), QStringLiteral("RUBRICA SIM"));
    QCOMPARE(f.Label7->text(), QStringLiteral("0/14"));
    QCOMPARE(f.Label8->text(), QStringLiteral("0/20"));

    s->click(f.Command6);
    QCOMPARE(s->message(), QStringLiteral("ORDINAMENTO TERMINATO"));
    QCOMPARE(f.list2Rows().rowCount(), 7);
    QVERIFY(s->newCommands().isEmpty());

    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
    const QStringList sent = s->newCommands();
    // Twelve writes, then one read of the whole range and one on from past
    // its last entry, since an answer may have been cut.
    QCOMPARE(sent.size(), 14);
    QCOMPARE(sent.first(), QStringLiteral("+CPBW=1,\"3409876543\",129,\"anna\""));
    QCOMPARE(sent.at(11), QStringLiteral("+CPBW=12"));
    QCOMPARE(sent.mid(12), (QStringList{"+CPBR=1,12", "+CPBR=8,12"}));

    // List1 now mirrors the phone: reading it again shows the same entries.
    const QStringList mirror = f.list1Rows().lines();
    QCOMPARE(mirror.size(), 12);
    s->selectLine(1);
    QCOMPARE(f.Label1->text(), QStringLiteral("02/12 "));
    QCOMPARE(f.Text1->text(), QStringLiteral("ANNALISA"));
    QCOMPARE(f.Text2->text(), QStringLiteral("+393471112233"));
}

void Form1PhoneTest::emptyPositionsAnsweredWithErrors_data()
{
    QTest::addColumn<int>("cmee");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<bool>("countAsked");
    QTest::addColumn<bool>("readable");

    QTest::newRow("+CME ERROR: 22") << int(SimModem::NumberedErrors) << QString() << false << true;
    QTest::newRow("+CME ERROR: not found") << int(SimModem::VerboseErrors) << QString() << false << true;
    // The used count shows that the refused positions were empty.
    QTest::newRow("ERROR") << int(SimModem::PlainErrors) << QString() << true << true;
    // Position 3 holds ANNALISA, so the count does not match.
    QTest::newRow("ERROR for an entry") << int(SimModem::PlainErrors) << QStringLiteral("+CPBR=3") << true << false;
}

void Form1PhoneTest::emptyPositionsAnsweredWithErrors()
{
    QFETCH(int, cmee);
    QFETCH(QString, refused);
    QFETCH(bool, countAsked);
    QFETCH(bool, readable);

    Form1 &f = *s->form;
    SimModem::Options options;
    options.cmee = cmee;
    options.emptyPosition = SimModem::Options::EmptyPosition::NotFound;
    s->phone.setOptions(options);
    s->phone.setRefusal([refused](const QString &command) { return command == refused; });
    s->connectPhone();

    s->click(f.Command2);
    QStringList expected{"+CPBS=SM", "+CPBR=?"};
    for (int k = 1; k <= 12; ++k)
        expected.append(QStringLiteral("+CPBR=%1").arg(k));
    if (countAsked)
        expected.append(QStringLiteral("+CPBS?"));
    QCOMPARE(s->newCommands(), expected);
    QCOMPARE(s->message(), readable ? QStringLiteral("LETTURA TERMINATA") : QStringLiteral("ERRORE: LETTURA RUBRICA"));
    QCOMPARE(f.vars().RUBSEL(), readable ? QStringLiteral("RUBRICA SIM") : QStringLiteral("ERROR"));
    QCOMPARE(f.list1Rows().rowCount(), 12);

    s->click(f.Command6);
    s->click(f.Command3);
    if (readable) {
        QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
        QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
    } else {
        QCOMPARE(s->message(), QStringLiteral("ERRORE"));
        QVERIFY(s->newCommands().isEmpty());
        QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
    }
}

void Form1PhoneTest::editAndDeleteOneEntry()
{
    Form1 &f = *s->form;
    s->connectPhone();
    s->readSim();

    s->selectLine(5);
    QCOMPARE(f.Label1->text(), QStringLiteral("06/12 "));
    QCOMPARE(f.Text1->text(), QStringLiteral("Zio Franz"));
    QCOMPARE(f.Label7->text(), QStringLiteral("9/14"));
    s->type(f.Text1, QStringLiteral(" Casa al mare "));
    QCOMPARE(f.Label7->text(), QStringLiteral("14/14"));
    s->type(f.Text2, QStringLiteral("+39 0612"));
    QCOMPARE(f.Label8->text(), QStringLiteral("8/20"));

    s->click(f.Command7);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA COMPLETATA"));
    QCOMPARE(s->newCommands(), (QStringList{"+CPBW=6,\"+39 0612\",145,\"Casa al mare\"", "+CPBR=6"}));
    QCOMPARE(s->phone.phonebook(SimStorage::Sim).value(6), (SimEntry{"+39 0612", 145, "Casa al mare"}));
    QVERIFY(f.list1Rows().lines().at(5).contains(QStringLiteral("Casa al mare")));

    s->selectLine(0);
    QCOMPARE(f.Text1->text(), QStringLiteral("MARIO ROSSI"));
    s->click(f.Command8);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA COMPLETATA"));
    QCOMPARE(s->newCommands(), (QStringList{"+CPBW=1", "+CPBR=1"}));
    QVERIFY(!s->phone.phonebook(SimStorage::Sim).contains(1));
    QVERIFY(f.Text1->text().isEmpty() && f.Text2->text().isEmpty());
    s->selectLine(0);
    QVERIFY(f.Text1->text().isEmpty());

    // Every other entry is as it was.
    QMap<int, SimEntry> expected = twelvePositionSim().entries;
    expected.remove(1);
    expected[6] = {"+39 0612", 145, "Casa al mare"};
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(expected));
}

// Each case sends nothing and leaves the phone as it was: a quote that
// would end the name, a position the failed read could not account for,
// and a selection left from before the port was opened again.
void Form1PhoneTest::editRefusedWhereItCouldMislead()
{
    Form1 &f = *s->form;
    const QStringList before = entriesOf(twelvePositionSim().entries);
    SimModem::Options options;
    options.emptyPosition = SimModem::Options::EmptyPosition::NotFound;
    s->phone.setOptions(options);
    s->connectPhone();
    s->readSim();

    s->selectLine(5);
    s->type(f.Text1, QStringLiteral("X\";+CPBW=1;+CPBW=2"));
    s->type(f.Text2, QStringLiteral("0612"));
    s->click(f.Command7);
    QCOMPARE(s->message(), QStringLiteral("ERRORE"));
    QVERIFY(s->newCommands().isEmpty());

    // Position 3 holds ANNALISA; answered with an error, the count shows it.
    // Save and delete at the selected line, each refused with nothing sent.
    const auto bothRefused = [&] {
        s->type(f.Text2, QStringLiteral("0699"));
        s->click(f.Command7);
        QCOMPARE(s->message(), QStringLiteral("ERRORE"));
        s->click(f.Command8);
        QCOMPARE(s->message(), QStringLiteral("ERRORE"));
        QVERIFY(s->newCommands().isEmpty());
    };

    s->phone.setRefusal([](const QString &command) { return command == QLatin1String("+CPBR=3"); });
    s->click(f.Command2);
    QCOMPARE(s->message(), QStringLiteral("ERRORE: LETTURA RUBRICA"));
    s->newCommands();
    s->selectLine(2);
    QVERIFY(f.Text1->text().isEmpty());
    s->type(f.Text1, QStringLiteral("NUOVO"));
    bothRefused();

    s->phone.setRefusal([](const QString &) { return false; });
    s->readSim();
    s->selectLine(2);
    s->click(f.Command1);
    s->click(f.Command1);
    QCOMPARE(s->connection(), QStringLiteral("CONNESSO"));
    QCOMPARE(f.Label1->text(), QStringLiteral("03/12 "));
    s->newCommands();
    bothRefused();
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), before);
}

void Form1PhoneTest::phonesWithOtherHabits_data()
{
    QTest::addColumn<SimModem::Options>("options");
    QTest::addColumn<bool>("readable");

    SimModem::Options bare;
    bare.rangeWithoutParentheses = true;
    QTest::newRow("index range without parentheses") << bare << true;
    SimModem::Options spaced;
    spaced.spaceAfterComma = true;
    QTest::newRow("a space after every comma") << spaced << true;
    SimModem::Options wrong;
    wrong.wrongIndex = SimModem::Options::IndexSwap{5, 3};
    QTest::newRow("position 5 answered with 3's entry") << wrong << false;
}

// Each habit is read, sorted and written back exact, or the read refused
// with nothing written.
void Form1PhoneTest::phonesWithOtherHabits()
{
    QFETCH(SimModem::Options, options);
    QFETCH(bool, readable);
    Form1 &f = *s->form;
    s->phone.setOptions(options);
    s->connectPhone();

    s->click(f.Command2);
    const QStringList read = s->newCommands();
    s->click(f.Command6);
    s->click(f.Command3);
    if (!readable) {
        QCOMPARE(read.size(), 2 + 5);
        QCOMPARE(f.vars().RUBSEL(), QStringLiteral("ERROR"));
        QCOMPARE(s->message(), QStringLiteral("ERRORE"));
        QVERIFY(s->newCommands().isEmpty());
        QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
        return;
    }
    QCOMPARE(read.size(), 12 + 2);
    QCOMPARE(read.last(), QStringLiteral("+CPBR=12"));
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
}

void Form1PhoneTest::exitPanelResetsThePhone()
{
    s->connectPhone();
    s->clickExitPanel();
    QCOMPARE(s->finishedCount, 1);
    QCOMPARE(s->newCommands(), QStringList{"Z"});
}

QTEST_MAIN(Form1PhoneTest)
#include "tst_form1phone.moc"
