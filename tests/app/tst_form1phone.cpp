// The window against the simulated phone over a pseudo-terminal: what the
// user does, what reaches the phone, and what the phone holds afterwards.
#include "phonebookbackup.h"
#include "phonebookrowmodel.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowsession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString kModel = QStringLiteral("NOKIA 6310i");

const QStringList kSortedOnPhone = twelvePositionSimSorted();

// The SIM with USIM fields on three of its entries.
SimPhonebook simWithFields()
{
    SimPhonebook book = twelvePositionSim();
    SimEntry &mario = book.entries[1];
    mario.group = QStringLiteral("LAVORO");
    mario.email = QStringLiteral("mario@example.org");
    SimEntry &annalisa = book.entries[3];
    annalisa.hidden = 1;
    annalisa.group = QStringLiteral("FAMIGLIA");
    annalisa.adNumber = QStringLiteral("0612345679");
    annalisa.adType = 129;
    SimEntry &zoe = book.entries[11];
    zoe.secondText = QStringLiteral("Zoe Bianchi");
    zoe.sipUri = QStringLiteral("sip:zoe@example.org");
    zoe.telUri = QStringLiteral("tel:+390500");
    return book;
}

QStringList backups()
{
    return QDir(backupFolder()).entryList({QStringLiteral("*.RDS")}, QDir::Files, QDir::Name);
}

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
    void writesReadBack_data();
    void writesReadBack();
    void usimFieldsSurvive();
    void savedListGoesBackToThePhone();
    void backupRestoresAWriteCutShort();
    void failedBackupBlocksTheWriteBack();
    void exitPanelResetsThePhone();
    void exitDuringReadStopsItAndResets();
    void adapterVanishingMidRead();

private:
    void connect();
    void readSim();

    std::unique_ptr<WindowSession> s;
    QTemporaryDir m_dir;
};

void Form1PhoneTest::init()
{
    s = std::make_unique<WindowSession>();
    s->phone.setModel(kModel);
    s->phone.setPhonebook(SimStorage::Sim, twelvePositionSim());
    QString why;
    QVERIFY2(s->start(&why), qPrintable(why));
}

void Form1PhoneTest::cleanup()
{
    s.reset();
    QFile::remove(backupFolder());
    QDir(backupFolder()).removeRecursively();
}

void Form1PhoneTest::connect()
{
    s->click(s->form->Command1);
    QCOMPARE(s->connection(), QStringLiteral("CONNESSO"));
    s->newCommands();
}

void Form1PhoneTest::readSim()
{
    s->click(s->form->Command2);
    QCOMPARE(s->message(), QStringLiteral("LETTURA TERMINATA"));
    s->newCommands();
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
    // A click on a read now finds the port closed.
    s->click(s->form->Command2);
    QCOMPARE(s->message(), QStringLiteral("ERRORE: PORTA NON APERTA"));
}

void Form1PhoneTest::readSortAndWriteBack()
{
    Form1 &f = *s->form;
    connect();
    s->click(f.Command2);
    QCOMPARE(s->message(), QStringLiteral("LETTURA TERMINATA"));
    QStringList expected{"+CPBS=SM", "+CPBR=?"};
    for (int k = 1; k <= 12; ++k)
        expected.append(QStringLiteral("+CPBR=%1").arg(k));
    QCOMPARE(s->newCommands(), expected);
    QCOMPARE(f.list1Rows().rowCount(), 12);
    QCOMPARE(f.vars.RUBSEL, QStringLiteral("RUBRICA SIM"));
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
    // Twelve writes, then one read of the whole range.
    QCOMPARE(sent.size(), 13);
    QCOMPARE(sent.first(), QStringLiteral("+CPBW=1,\"3409876543\",129,\"anna\""));
    QCOMPARE(sent.at(11), QStringLiteral("+CPBW=12"));
    QCOMPARE(sent.last(), QStringLiteral("+CPBR=1,12"));

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
    connect();

    s->click(f.Command2);
    QStringList expected{"+CPBS=SM", "+CPBR=?"};
    for (int k = 1; k <= 12; ++k)
        expected.append(QStringLiteral("+CPBR=%1").arg(k));
    if (countAsked)
        expected.append(QStringLiteral("+CPBS?"));
    QCOMPARE(s->newCommands(), expected);
    QCOMPARE(s->message(), readable ? QStringLiteral("LETTURA TERMINATA") : QStringLiteral("ERRORE: LETTURA RUBRICA"));
    QCOMPARE(f.vars.RUBSEL, readable ? QStringLiteral("RUBRICA SIM") : QStringLiteral("ERROR"));
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
    connect();
    readSim();

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
    connect();
    readSim();

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
    readSim();
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
    // The commands the read costs beyond H + 2; -1 when it must refuse.
    QTest::addColumn<int>("extraCommands");

    SimModem::Options busy;
    busy.cmee = SimModem::NumberedErrors;
    busy.simBusyAnswers = 2;
    QTest::newRow("SIM busy twice after power-on") << busy << 2;
    SimModem::Options bare;
    bare.rangeWithoutParentheses = true;
    QTest::newRow("index range without parentheses") << bare << 0;
    SimModem::Options spaced;
    spaced.spaceAfterComma = true;
    QTest::newRow("a space after every comma") << spaced << 0;
    SimModem::Options wrong;
    wrong.wrongIndex = SimModem::Options::IndexSwap{5, 3};
    QTest::newRow("position 5 answered with 3's entry") << wrong << -1;
}

// Each habit is read, sorted and written back exact, or the read refused
// with nothing written.
void Form1PhoneTest::phonesWithOtherHabits()
{
    QFETCH(SimModem::Options, options);
    QFETCH(int, extraCommands);
    Form1 &f = *s->form;
    s->phone.setOptions(options);
    connect();

    s->click(f.Command2);
    const QStringList read = s->newCommands();
    s->click(f.Command6);
    s->click(f.Command3);
    if (extraCommands < 0) {
        QCOMPARE(read.size(), 2 + 5);
        QCOMPARE(f.vars.RUBSEL, QStringLiteral("ERROR"));
        QCOMPARE(s->message(), QStringLiteral("ERRORE"));
        QVERIFY(s->newCommands().isEmpty());
        QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
        return;
    }
    QCOMPARE(read.size(), 12 + 2 + extraCommands);
    QCOMPARE(read.last(), QStringLiteral("+CPBR=12"));
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
}

void Form1PhoneTest::writesReadBack_data()
{
    QTest::addColumn<SimModem::Options>("options");
    QTest::addColumn<QString>("charset");
    // The commands the check costs after the twelve writes; 0 for the range
    // read alone, however often the link sends it again to a silent phone.
    QTest::addColumn<int>("checkCommands");
    // The row of List1 selected as the first that differs; -1 when none.
    QTest::addColumn<int>("different");
    QTest::addColumn<QString>("editMessage");

    const QString done = QStringLiteral("SCRITTURA COMPLETATA");
    const QString differs = QStringLiteral("ERRORE: VERIFICA SCRITTURA");
    QTest::newRow("faithful phone") << SimModem::Options() << "8859-1" << 1 << -1 << done;
    SimModem::Options refused;
    refused.rangeReadRefused = true;
    QTest::newRow("range read refused") << refused << "8859-1" << 1 + 12 << -1 << done;
    SimModem::Options cut;
    cut.rangeReadCut = 3;
    QTest::newRow("range answer cut short") << cut << "8859-1" << 1 + 4 << -1 << done;
    SimModem::Options names;
    names.nameLimitUcs2 = 8;
    // The three names it cut are asked again on their own before they count.
    QTest::newRow("UCS2 names kept to 8 characters") << names << "UCS2" << 1 + 3 << 2 << differs;
    SimModem::Options dropped;
    dropped.dropWrite = 3;
    QTest::newRow("one write dropped") << dropped << "8859-1" << 1 + 1 << 2 << done;
    SimModem::Options silent;
    silent.silentReadsAfterWrite = true;
    // The range read alone, sent again until the link's deadline: as often
    // as the machine's speed allows. Its positions are unknown now, so the
    // edit sends nothing.
    QTest::newRow("silent during the check") << silent << "8859-1" << 0 << 0 << QStringLiteral("ERRORE");
}

// Nothing is reported written that the phone was not read back holding:
// List1 then shows what the phone holds, and List2 stays to be saved.
void Form1PhoneTest::writesReadBack()
{
    QFETCH(SimModem::Options, options);
    QFETCH(QString, charset);
    QFETCH(int, checkCommands);
    QFETCH(int, different);
    QFETCH(QString, editMessage);

    s.reset();
    s = std::make_unique<WindowSession>(std::chrono::milliseconds(3000), charset);
    s->phone.setPhonebook(SimStorage::Sim, twelvePositionSim());
    s->phone.setOptions(options);
    QString why;
    QVERIFY2(s->start(&why), qPrintable(why));
    Form1 &f = *s->form;
    connect();
    readSim();
    s->click(f.Command6);
    const QStringList sorted = f.list2Rows().lines();
    s->click(f.Command3);
    const QStringList check = s->newCommands().mid(12);
    if (checkCommands > 0)
        QCOMPARE(check.size(), checkCommands);
    else
        QVERIFY(!check.isEmpty() && check.count(QStringLiteral("+CPBR=1,12")) == check.size());
    QCOMPARE(f.list2Rows().lines(), sorted);
    const QMap<int, SimEntry> held = s->phone.phonebook(SimStorage::Sim);
    if (different < 0) {
        QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
        QCOMPARE(entriesOf(held), kSortedOnPhone);
    } else {
        QCOMPARE(s->message(), QStringLiteral("ERRORE: VERIFICA SCRITTURA"));
        QCOMPARE(f.List1->currentIndex().row(), different);
        for (int p = 1; p <= 12; ++p) {
            const PhonebookRow row = *f.list1Rows().row(p - 1);
            // A phone that went silent has told nothing of any position.
            if (options.silentReadsAfterWrite)
                QVERIFY(row.unread);
            else if (held.contains(p))
                QVERIFY2(row.line.contains(held.value(p).text), qPrintable(row.line));
            else
                QVERIFY(!row.unread && !row.line.contains(QStringLiteral("a")));
        }
    }

    // One edit, read back too.
    s->selectLine(0);
    s->type(f.Text1, QStringLiteral("Bartolomeo"));
    s->type(f.Text2, QStringLiteral("0612"));
    s->click(f.Command7);
    QCOMPARE(s->message(), editMessage);
    if (editMessage == QStringLiteral("SCRITTURA COMPLETATA"))
        QCOMPARE(s->phone.phonebook(SimStorage::Sim).value(1).text, QStringLiteral("Bartolomeo"));
}

void Form1PhoneTest::usimFieldsSurvive()
{
    Form1 &f = *s->form;
    const SimPhonebook book = simWithFields();
    s->phone.setPhonebook(SimStorage::Sim, book);
    s->phone.setOptions(SimModem::Options::strict());
    connect();
    readSim();
    s->click(f.Command6);
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));

    // Each entry at its new position, every field with it.
    const QList<int> from = {4, 3, 1, 10, 9, 6, 11};
    QMap<int, SimEntry> expected;
    for (int k = 1; k <= from.size(); ++k)
        expected.insert(k, book.entries.value(from.at(k - 1)));
    QCOMPARE(s->phone.phonebook(SimStorage::Sim), expected);
    const QStringList sent = s->newCommands();
    QCOMPARE(sent.at(1), QStringLiteral("+CPBW=2,\"+393471112233\",145,\"ANNALISA\",\"FAMIGLIA\",\"0612345679\",129,\"\",\"\",\"\",\"\",1"));
    // An entry without fields goes as it always did.
    QCOMPARE(sent.at(0), QStringLiteral("+CPBW=1,\"3409876543\",129,\"anna\""));

    // A new name keeps the e-mail address; a delete takes everything.
    s->selectLine(2);
    s->type(f.Text1, QStringLiteral("MARIO R."));
    s->click(f.Command7);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA COMPLETATA"));
    SimEntry renamed = expected.value(3);
    renamed.text = QStringLiteral("MARIO R.");
    QCOMPARE(s->phone.phonebook(SimStorage::Sim).value(3), renamed);
    s->selectLine(6);
    s->click(f.Command8);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA COMPLETATA"));
    QVERIFY(!s->phone.phonebook(SimStorage::Sim).contains(7));
}

void Form1PhoneTest::savedListGoesBackToThePhone()
{
    Form1 &f = *s->form;
    connect();
    readSim();
    s->click(f.Command6);
    s->chooser.saveName = m_dir.filePath(QStringLiteral("rubrica"));
    s->click(f.Command5);
    QCOMPARE(s->message(), QStringLiteral("SALVATAGGIO ULTIMATO"));
    const QString file = m_dir.filePath(QStringLiteral("rubrica.rds"));
    QVERIFY(QFileInfo::exists(file));
    const QStringList sorted = f.list2Rows().lines();

    // After the port was opened again the phone on it was never read (nor
    // backed up): a loaded list is not written over it.
    s->click(f.Command1);
    s->click(f.Command1);
    s->chooser.openName = file;
    s->click(f.Command4);
    s->newCommands();
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE"));
    QVERIFY(s->newCommands().isEmpty());

    // Reading again empties List2; the saved list comes back from the file.
    readSim();
    QCOMPARE(f.list2Rows().rowCount(), 0);
    s->click(f.Command4);
    QCOMPARE(s->message(), QStringLiteral("CARICAMENTO ULTIMATO"));
    QCOMPARE(f.list2Rows().lines(), sorted);
    QCOMPARE(f.list1Rows().rowCount(), 0);

    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
    QCOMPARE(f.list1Rows().rowCount(), 12);
}

void Form1PhoneTest::backupRestoresAWriteCutShort()
{
    const SimPhonebook book = simWithFields();
    s->phone.setPhonebook(SimStorage::Sim, book);
    s->phone.setOptions(SimModem::Options::strict());
    connect();
    readSim();
    const QStringList kept = backups();
    QCOMPARE(kept.size(), 1);
    QVERIFY2(kept.first().endsWith(QStringLiteral(" SIM ") + kModel + QStringLiteral(".RDS")), qPrintable(kept.first()));

    // The write-back ends at its fifth write, as if the program died there.
    s->click(s->form->Command6);
    s->phone.setRefusal(QStringList{QStringLiteral("+CPBW=5,")});
    s->click(s->form->Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE GRAVE IN SCRITTURA"));
    QVERIFY(s->phone.phonebook(SimStorage::Sim) != book.entries);

    // A second window on the phone as it was left: read, load the backup,
    // write it back.
    const QMap<int, SimEntry> halfWritten = s->phone.phonebook(SimStorage::Sim);
    s = std::make_unique<WindowSession>();
    s->phone.setModel(kModel);
    SimPhonebook left = book;
    left.entries = halfWritten;
    s->phone.setPhonebook(SimStorage::Sim, left);
    s->phone.setOptions(SimModem::Options::strict());
    QString why;
    QVERIFY2(s->start(&why), qPrintable(why));
    connect();
    readSim();
    s->chooser.openName = QDir(backupFolder()).filePath(kept.first());
    s->click(s->form->Command4);
    QCOMPARE(s->message(), QStringLiteral("CARICAMENTO ULTIMATO"));
    s->click(s->form->Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));

    // Every entry as read, each with its fields, in the phone's order from 1.
    QMap<int, SimEntry> restored;
    for (const SimEntry &entry : book.entries)
        restored.insert(int(restored.size()) + 1, entry);
    QCOMPARE(s->phone.phonebook(SimStorage::Sim), restored);
}

void Form1PhoneTest::failedBackupBlocksTheWriteBack()
{
    Form1 &f = *s->form;
    // A regular file where the backups folder should be stops root too.
    QVERIFY(QDir().mkpath(QFileInfo(backupFolder()).path()));
    QFile blocker(backupFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    connect();

    s->click(f.Command2);
    QCOMPARE(s->message(), QStringLiteral("ERRORE: BACKUP NON RIUSCITO"));
    QCOMPARE(f.vars.RUBSEL, QStringLiteral("RUBRICA SIM"));
    QCOMPARE(f.list1Rows().rowCount(), 12);
    s->click(f.Command6);
    QCOMPARE(f.list2Rows().rowCount(), 7);
    s->newCommands();
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE: BACKUP NON RIUSCITO"));
    QVERIFY(s->newCommands().isEmpty());
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));

    // The next read that is kept lets the list go to the phone.
    QVERIFY(blocker.remove());
    readSim();
    s->click(f.Command6);
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
}

void Form1PhoneTest::exitPanelResetsThePhone()
{
    connect();
    s->clickExitPanel();
    QCOMPARE(s->finishedCount, 1);
    QCOMPARE(s->newCommands(), QStringList{"Z"});
}

void Form1PhoneTest::exitDuringReadStopsItAndResets()
{
    Form1 &f = *s->form;
    connect();
    s->phone.setLatency(30);
    QTimer::singleShot(150, s->form.get(), [this] { s->clickExitPanel(); });
    s->click(f.Command2);

    QCOMPARE(s->finishedCount, 1);
    const QStringList sent = s->newCommands();
    QCOMPARE(sent.last(), QStringLiteral("Z"));
    QVERIFY(sent.size() < 14);
    QVERIFY(!sent.contains(QStringLiteral("+CPBR=12")));
    QCOMPARE(f.vars.RUBSEL, QStringLiteral("ERROR"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
}

void Form1PhoneTest::adapterVanishingMidRead()
{
    Form1 &f = *s->form;
    connect();
    // Selection, range query and the first four positions get through.
    s->phone.setHangUpAfter(6);
    s->click(f.Command2);

    QCOMPARE(s->message(), QStringLiteral("ERRORE: LETTURA RUBRICA"));
    QCOMPARE(s->connection(), QStringLiteral("DISCONNESSO"));
    QVERIFY(f.VScroll1->isEnabled());
    QCOMPARE(f.list1Rows().rowCount(), 4);
    QCOMPARE(f.vars.RUBSEL, QStringLiteral("ERROR"));

    // The partial list sorts, but never goes to the phone.
    s->click(f.Command6);
    QCOMPARE(f.list2Rows().rowCount(), 3);
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), entriesOf(twelvePositionSim().entries));
}

QTEST_MAIN(Form1PhoneTest)
#include "tst_form1phone.moc"
