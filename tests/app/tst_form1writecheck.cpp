// The window against phones that do not keep what they were sent, and the
// ways back the program leaves: the check of every write, the fields that
// travel with their entries, the saved list and the backup of the read.
#include "phonebookbackup.h"
#include "phonebooklistmodel.h"
#include "temporaryuserfolders.h"
#include "twelvepositionsim.h"
#include "windowsession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kModel = QStringLiteral("NOKIA 6310i");

const QStringList kSortedOnPhone = twelvePositionSimSorted();

}

class Form1WriteCheckTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void init();
    void cleanup();

    void writesReadBack_data();
    void writesReadBack();
    void usimFieldsSurvive();
    void savedListGoesBackToThePhone();
    void backupRestoresAWriteCutShort();
    void failedBackupBlocksTheWriteBack();

private:
    std::unique_ptr<WindowSession> s;
    QTemporaryDir m_dir;
};

void Form1WriteCheckTest::init()
{
    s = startedOnTwelvePositionSim(kModel);
    QVERIFY(s);
}

void Form1WriteCheckTest::cleanup()
{
    s.reset();
    removeBackups();
}

void Form1WriteCheckTest::writesReadBack_data()
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

    const QString done = QStringLiteral("SCRITTURA COMPLETATA");
    const QString differs = QStringLiteral("ERRORE: VERIFICA SCRITTURA");
    QTest::newRow("faithful phone") << SimModem::Options() << "8859-1" << 2 << -1 << done;
    SimModem::Options refused;
    refused.rangeReadRefused = true;
    QTest::newRow("range read refused") << refused << "8859-1" << 1 + 12 << -1 << done;
    SimModem::Options cut;
    cut.rangeReadCut = 3;
    QTest::newRow("range answer cut short") << cut << "8859-1" << 4 << -1 << done;
    SimModem::Options names;
    names.nameLimitUcs2 = 8;
    // The three names it cut are asked again on their own before they count.
    QTest::newRow("UCS2 names kept to 8 characters") << names << "UCS2" << 2 + 3 << 2 << differs;
    SimModem::Options dropped;
    dropped.dropWrite = 3;
    QTest::newRow("one write dropped") << dropped << "8859-1" << 2 + 1 << 2 << done;
    SimModem::Options silent;
    silent.silentReadsAfterWrite = true;
    // The range read alone, sent again until the link's deadline, as often
    // as the machine's speed allows. Its positions are unknown now, so the
    // edit sends nothing.
    QTest::newRow("silent during the check") << silent << "8859-1" << 0 << 0 << QStringLiteral("ERRORE");
}

// Nothing is reported written that the phone was not read back holding:
// List1 then shows what the phone holds, and List2 stays to be saved.
void Form1WriteCheckTest::writesReadBack()
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
    s->connectPhone();
    s->readSim();
    s->click(f.Command6);
    const QStringList sorted = f.list2Rows().lines();
    s->click(f.Command3);
    const QStringList sent = s->newCommands();
    const QStringList check = sent.mid(sent.lastIndexOf(QRegularExpression(QStringLiteral("\\+CPBW=.*"))) + 1);
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
            const PhonebookEntry shown = *f.list1Rows().entry(p - 1);
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
    s->selectLine(0);
    s->type(f.Text1, QStringLiteral("Bartolomeo"));
    s->type(f.Text2, QStringLiteral("0612"));
    s->click(f.Command7);
    QCOMPARE(s->message(), editMessage);
    if (editMessage == QStringLiteral("SCRITTURA COMPLETATA"))
        QCOMPARE(s->phone.phonebook(SimStorage::Sim).value(1).text, QStringLiteral("Bartolomeo"));
}

void Form1WriteCheckTest::usimFieldsSurvive()
{
    Form1 &f = *s->form;
    const SimPhonebook book = twelvePositionSimWithFields();
    s->phone.setPhonebook(SimStorage::Sim, book);
    s->phone.setOptions(SimModem::Options::strict());
    s->connectPhone();
    s->readSim();
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

void Form1WriteCheckTest::savedListGoesBackToThePhone()
{
    Form1 &f = *s->form;
    s->connectPhone();
    s->readSim();
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
    s->readSim();
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

void Form1WriteCheckTest::backupRestoresAWriteCutShort()
{
    const SimPhonebook book = twelvePositionSimWithFields();
    s->phone.setPhonebook(SimStorage::Sim, book);
    s->phone.setOptions(SimModem::Options::strict());
    s->connectPhone();
    s->readSim();
    const QStringList kept = backups();
    QCOMPARE(kept.size(), 1);
    QVERIFY2(kept.first().endsWith(QStringLiteral(" SIM ") + kModel + QStringLiteral(".RDS")), qPrintable(kept.first()));

    // The write-back ends at its fifth write, as if the program died there.
    s->click(s->form->Command6);
    s->phone.setRefusal(QStringList{QStringLiteral("+CPBW=5,")});
    s->click(s->form->Command3);
    QCOMPARE(s->message(), QStringLiteral("ERRORE GRAVE IN SCRITTURA: 05/12 NICOLÒ"));
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
    s->connectPhone();
    s->readSim();
    s->chooser.openName = kept.first();
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

void Form1WriteCheckTest::failedBackupBlocksTheWriteBack()
{
    Form1 &f = *s->form;
    // A regular file where the backups folder should be stops root too.
    QVERIFY(QDir().mkpath(QFileInfo(backupFolder()).path()));
    QFile blocker(backupFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    s->connectPhone();

    s->click(f.Command2);
    QCOMPARE(s->message(), QStringLiteral("ERRORE: BACKUP NON RIUSCITO"));
    QCOMPARE(f.vars().RUBSEL(), QStringLiteral("RUBRICA SIM"));
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
    s->readSim();
    s->click(f.Command6);
    s->click(f.Command3);
    QCOMPARE(s->message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    QCOMPARE(entriesOf(s->phone.phonebook(SimStorage::Sim)), kSortedOnPhone);
}

QTEST_MAIN(Form1WriteCheckTest)
#include "tst_form1writecheck.moc"
