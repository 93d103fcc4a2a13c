// Phones with the habits met in the field, through the window: each one's
// phonebook read, sorted and written back, every number as it was read.
#include "temporaryuserfolders.h"
#include "windowsession.h"

#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

// Latin names that every set carries, a Swiss and a British number, gaps.
SimPhonebook latinSim(int last)
{
    SimPhonebook book;
    book.last = last;
    book.numberLength = 20;
    book.textLength = 14;
    book.entries = {
        {1, {"3331234567", 129, "MARIO ROSSI"}},
        {3, {"+41791234567", 145, "Zio Franz"}},
        {4, {"3409876543", 129, "anna"}},
        {7, {"+447700900123", 145, "John Smith"}},
        {9, {"3200000000", 129, "Nicola, uff."}},
        {11, {"0500", 129, "Zoe"}},
    };
    return book;
}

const QStringList kSorted = {
    "1|3409876543|129|anna",
    "2|+447700900123|145|John Smith",
    "3|3331234567|129|MARIO ROSSI",
    "4|3200000000|129|Nicola, uff.",
    "5|+41791234567|145|Zio Franz",
    "6|0500|129|Zoe",
};

// GSM at power-on: the program moves the phone to UCS2, which it offers.
const QString kGsm = QStringLiteral("GSM");
const QString kLatin1 = QStringLiteral("8859-1");

}

class Form1HabitsTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void habitsReadSortAndWriteBack_data();
    void habitsReadSortAndWriteBack();
    void nameOnlyUcs2CarriesRefused();
};

void Form1HabitsTest::habitsReadSortAndWriteBack_data()
{
    QTest::addColumn<SimModem::Options>("options");
    QTest::addColumn<QString>("powerOn");
    QTest::addColumn<int>("positions");
    // The reads the check of the write-back costs: ranges in pieces the
    // phone takes, not one read per position, each answer that stops before
    // the end of its range read on. Above a cap on the upper bound (255 of
    // 300) only single reads are left: 45 of the 60.
    QTest::addColumn<int>("checkReads");

    SimModem::Options unsolicited;
    unsolicited.unsolicitedLines = {"^RSSI:14", "^MODE: 2\r", "+PBREADY", "PB DONE",
                                    "+QIND: \"csq\",20", "^BOOT:1234,0,0,0,72"};
    QTest::newRow("unsolicited lines inside answers") << unsolicited << kGsm << 12 << 2;
    SimModem::Options storage;
    storage.storageNameInCharset = true;
    QTest::newRow("storage name in UCS2") << storage << kGsm << 12 << 2;
    SimModem::Options digits;
    digits.numbersAsDigits = true;
    QTest::newRow("numbers kept as digits") << digits << kLatin1 << 12 << 2;
    SimModem::Options capped;
    capped.rangeReadHighest = 255;
    QTest::newRow("300 positions, range read capped at 255") << capped << kLatin1 << 300 << 60;
    SimModem::Options cut;
    cut.rangeReadCut = 3;
    QTest::newRow("range answer cut short") << cut << kLatin1 << 300 << 3;
    SimModem::Options hex;
    hex.ucs2WriteKeepsHex = true;
    QTest::newRow("UCS2 write keeps the hex digits") << hex << kGsm << 12 << 2;
    SimModem::Options quarter;
    quarter.ucs2NameInQuarterField = true;
    QTest::newRow("UCS2 name in a quarter of its field") << quarter << kGsm << 12 << 2;
}

void Form1HabitsTest::habitsReadSortAndWriteBack()
{
    QFETCH(SimModem::Options, options);
    QFETCH(QString, powerOn);
    QFETCH(int, positions);
    QFETCH(int, checkReads);
    WindowSession s(std::chrono::milliseconds(3000), powerOn);
    s.phone.setOptions(options);
    s.phone.setPhonebook(SimStorage::Sim, latinSim(positions));
    QString why;
    QVERIFY2(s.start(&why), qPrintable(why));
    Form1 &f = *s.form;

    s.click(f.Command1);
    QCOMPARE(s.connection(), QStringLiteral("CONNESSO"));
    s.click(f.Command2);
    QCOMPARE(s.message(), QStringLiteral("LETTURA TERMINATA"));
    s.click(f.Command6);
    s.newCommands();
    s.click(f.Command3);
    QCOMPARE(s.message(), QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    const QStringList sent = s.newCommands();
    QCOMPARE(sent.filter(QRegularExpression(QStringLiteral("^\\+CPBR="))).size(), checkReads);
    QCOMPARE(entriesOf(s.phone.phonebook(SimStorage::Sim)), kSorted);
}

// A name that only UCS2 carries, on a phone that refuses it there: tried at
// an empty position before anything is written, it refuses the list with
// that line selected, and every position keeps what it held.
void Form1HabitsTest::nameOnlyUcs2CarriesRefused()
{
    removeBackups();
    WindowSession s(std::chrono::milliseconds(3000), kGsm);
    SimModem::Options quarter;
    quarter.ucs2NameInQuarterField = true;
    s.phone.setOptions(quarter);
    SimPhonebook book = latinSim(12);
    book.entries.insert(12, {"3470000000", 129, QString::fromUtf8("Łukasz")});
    s.phone.setPhonebook(SimStorage::Sim, book);
    QString why;
    QVERIFY2(s.start(&why), qPrintable(why));
    Form1 &f = *s.form;

    s.connectPhone();
    s.readSim();
    s.click(f.Command6);
    s.click(f.Command3);
    QCOMPARE(s.message(), QStringLiteral("ERRORE: LISTA NON VALIDA"));
    QCOMPARE(f.List2->currentIndex().row(), 2);
    QCOMPARE(s.phone.phonebook(SimStorage::Sim), book.entries);
    QCOMPARE(backups().size(), 1);
    removeBackups();
}

QTEST_MAIN(Form1HabitsTest)
#include "tst_form1habits.moc"
