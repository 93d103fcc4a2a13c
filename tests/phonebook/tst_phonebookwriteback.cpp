#include "linkedphone.h"
#include "pairentries.h"
#include "phonebooklistmodel.h"
#include "phonebooksort.h"
#include "phonebookwriteback.h"
#include "readlimits.h"
#include "recordingreport.h"

#include <QTest>

namespace {
const QString kDone = QStringLiteral("SCRITTURA RUBRICA TERMINATA");
const QString kFailed = QStringLiteral("ERRORE GRAVE IN SCRITTURA");
const QString kInvalid = QStringLiteral("ERRORE: LISTA NON VALIDA");

constexpr int kPositions = 12;
constexpr int kTextLength = 14;
constexpr int kNumberLength = 20;

FormVariables readSim()
{
    return afterSimRead(kPositions, kTextLength, kNumberLength);
}

// The sorted-layout lines of entries.
QStringList sortedLines(const PhonebookEntries &entries, const PhonebookLine::Limits &limits)
{
    QStringList lines;
    for (const PhonebookEntry &entry : entries)
        lines.append(PhonebookLine::draw(entry, PhonebookLine::Layout::Sorted, limits));
    return lines;
}

// The empty positions from first to the last of the SIM.
PhonebookEntries emptyFrom(int first)
{
    PhonebookEntries entries;
    for (int k = first; k <= kPositions; ++k)
        entries.append(PhonebookEntry{k, {}, 0, {}, {}, false});
    return entries;
}

const PhonebookEntries kSorted = pairEntries({"ALDO|+393331112222", "anna|0612345678", "ANNALISA|+41791234567",
                                               "|112", "BRUNO|", "CARLA MARIA|3401234567"});
}

class TestPhonebookWriteBack : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writesEntriesAndClearsTheRest();
    void listAsLongAsThePhonebookSendsNoClear();
    void listMadeUnderOtherLimits();
    void fieldsStayWithTheirEntries_data();
    void fieldsStayWithTheirEntries();
    void refusedBeforeAnythingIsSent_data();
    void refusedBeforeAnythingIsSent();
    void phoneRefusingPositionFive();
    void portClosedAfterTheRead();
    void lineDroppingMidWrite();
    void programEndingMidWrite();

private:
    // Writes List2 made of entries under limits (those of the read unless
    // the list came from a file made for another phonebook).
    Outcome run(const PhonebookEntries &List2Entries, const FormVariables &vars = readSim(),
                const PhonebookLine::Limits &listLimits = readSim().lineLimits());

    LinkedPhone *m_phone = nullptr;
    QStringList m_list1Before;
    PhonebookListModel m_List1;
    RecordingReport m_report;
};

void TestPhonebookWriteBack::init()
{
    m_phone = new LinkedPhone(kPositions, kTextLength, kNumberLength);
    m_phone->store(2, QStringLiteral("VECCHIO"), QStringLiteral("0611"));
    m_phone->store(7, QStringLiteral("ZIO"), QStringLiteral("+390622"));
    m_phone->store(12, QStringLiteral("ULTIMO"), QStringLiteral("099"));
    QString why;
    QVERIFY2(m_phone->start(&why), qPrintable(why));
    m_List1.setEntries(emptyFrom(1), PhonebookLine::Layout::Read, readSim().lineLimits());
    m_list1Before = m_List1.lines();
    m_report = RecordingReport();
}

void TestPhonebookWriteBack::cleanup()
{
    delete m_phone;
    m_phone = nullptr;
}

Outcome TestPhonebookWriteBack::run(const PhonebookEntries &List2Entries, const FormVariables &vars,
                                    const PhonebookLine::Limits &listLimits)
{
    PhonebookListModel List2;
    List2.setEntries(List2Entries, PhonebookLine::Layout::Sorted, listLimits);
    const Outcome outcome = writeSortedPhonebook(m_phone->link, vars, m_List1, List2, m_report);
    // List2 stays for a save or another write, whatever came of this one.
    if (List2.entries() != List2Entries)
        return {QStringLiteral("List2 changed")};
    return outcome;
}

void TestPhonebookWriteBack::writesEntriesAndClearsTheRest()
{
    const Outcome outcome = run(kSorted);

    QStringList expected{
        "+CPBW=1,\"+393331112222\",145,\"ALDO\"",
        "+CPBW=2,\"0612345678\",129,\"anna\"",
        "+CPBW=3,\"+41791234567\",145,\"ANNALISA\"",
        "+CPBW=4,\"112\",129,\"\"",
        "+CPBW=5,\"\",129,\"BRUNO\"",
        "+CPBW=6,\"3401234567\",129,\"CARLA MARIA\"",
    };
    for (int k = 7; k <= kPositions; ++k)
        expected.append(QStringLiteral("+CPBW=%1").arg(k));
    // Then all of it read back at once.
    expected.append(QStringLiteral("+CPBR=1,12"));
    QCOMPARE(m_phone->commands(), expected);

    const QMap<int, QString> phonebook = m_phone->entries();
    QCOMPARE(phonebook.keys(), (QList<int>{1, 2, 3, 4, 5, 6}));
    QCOMPARE(phonebook.value(1), QStringLiteral("ALDO|+393331112222|145"));
    QCOMPARE(phonebook.value(6), QStringLiteral("CARLA MARIA|3401234567|129"));

    // List1 mirrors the phone: the sorted lines, then sorted-layout blanks.
    QCOMPARE(m_List1.lines(), sortedLines(kSorted + emptyFrom(7), readSim().lineLimits()));
    QCOMPARE(m_report.messages, (QStringList{"SCRITTURA RUBRICA SIM IN CORSO", "VERIFICA SCRITTURA IN CORSO"}));
    QCOMPARE(outcome.message, kDone);
    QVERIFY(outcome.done);
    QCOMPARE(m_report.values.first(), 0.1);
    QCOMPARE(m_report.values.last(), kPositions + 0.1);
}

void TestPhonebookWriteBack::listAsLongAsThePhonebookSendsNoClear()
{
    FormVariables vars = readSim();
    vars.MAXNUMRUB = kSorted.size();
    vars.phonebook = Phonebooks::kPhone;
    QCOMPARE(run(kSorted, vars, vars.lineLimits()).message, kDone);
    QCOMPARE(m_phone->commands().size(), kSorted.size() + 1);
    QVERIFY(m_phone->commands().at(kSorted.size() - 1).startsWith(QStringLiteral("+CPBW=6,")));
    QCOMPARE(m_List1.lines(), sortedLines(kSorted, vars.lineLimits()));
    QCOMPARE(m_report.messages.first(), QStringLiteral("SCRITTURA RUBRICA CELLULARE IN CORSO"));
}

void TestPhonebookWriteBack::listMadeUnderOtherLimits()
{
    // A list file saved for a phonebook of 99 positions, 20-character
    // names and 10-character numbers, written to the current one.
    const PhonebookEntries foreign = pairEntries({"ALESSANDRO|+39061", "BEATRICE ROSSI|0612"});
    QCOMPARE(run(foreign, readSim(), {99, 20, 10}).message, kDone);
    QCOMPARE(m_phone->commands().mid(0, 2),
             (QStringList{"+CPBW=1,\"+39061\",145,\"ALESSANDRO\"",
                          "+CPBW=2,\"0612\",129,\"BEATRICE ROSSI\""}));
    QCOMPARE(m_List1.lines().mid(0, 2), sortedLines(foreign, readSim().lineLimits()));
    QCOMPARE(m_List1.rowCount(), kPositions);
}

void TestPhonebookWriteBack::fieldsStayWithTheirEntries_data()
{
    // List1 as read: "name|number" per position ("" for an empty one), the
    // positions holding fields; then the commands of the write-back.
    QTest::addColumn<QStringList>("read");
    QTest::addColumn<QList<int>>("withFields");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("the entry with fields moves up")
        << QStringList{"ZENO|0611", "", "ADA|0622"} << QList<int>{3}
        << QStringList{"+CPBW=1,\"0622\",129,\"ADA\",\"F3\",\"\",,\"\",\"\",\"\",\"\",1", "+CPBW=2,\"0611\",129,\"ZENO\""};
    QTest::newRow("the entry with fields moves down")
        << QStringList{"ZENO|0611", "ADA|0622"} << QList<int>{1}
        << QStringList{"+CPBW=1,\"0622\",129,\"ADA\"", "+CPBW=2,\"0611\",129,\"ZENO\",\"F1\",\"\",,\"\",\"\",\"\",\"\",1"};
    QTest::newRow("equal names keep their order and their fields")
        << QStringList{"ADA|0611", "ADA|0611", "", "ADA|0611"} << QList<int>{2, 4}
        << QStringList{"+CPBW=1,\"0611\",129,\"ADA\"", "+CPBW=2,\"0611\",129,\"ADA\",\"F2\",\"\",,\"\",\"\",\"\",\"\",1",
                       "+CPBW=3,\"0611\",129,\"ADA\",\"F4\",\"\",,\"\",\"\",\"\",\"\",1"};
}

// The read's rows, sorted into List2 and written back: every command and
// every row of the new List1 carries the fields of the entry it was read
// with, told apart by a group named after the position read.
void TestPhonebookWriteBack::fieldsStayWithTheirEntries()
{
    QFETCH(QStringList, read);
    QFETCH(QList<int>, withFields);
    QFETCH(QStringList, written);
    const FormVariables vars = readSim();
    PhonebookEntries entries = pairEntries(read) + emptyFrom(int(read.size()) + 1);
    for (const int k : withFields)
        entries[k - 1].fields = {"1", QStringLiteral("F%1").arg(k), "", "", "", "", "", "", ""};
    m_List1.setEntries(entries, PhonebookLine::Layout::Read, vars.lineLimits());
    PhonebookListModel List2;
    sortPhonebook(vars, m_List1, List2, m_report);
    QCOMPARE(writeSortedPhonebook(m_phone->link, vars, m_List1, List2, m_report).message, kDone);

    QCOMPARE(m_phone->commands().mid(0, written.size()), written);
    for (int i = 0; i < written.size(); ++i) {
        const bool hasFields = written.at(i).endsWith(QStringLiteral(",1"));
        QCOMPARE(!List2.entry(i)->fields.isEmpty(), hasFields);
        QCOMPARE(m_List1.entry(i)->fields, List2.entry(i)->fields);
        QCOMPARE(m_List1.lines().at(i), List2.lines().at(i));
    }
}

void TestPhonebookWriteBack::refusedBeforeAnythingIsSent_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("message");
    // The row of List2 shown to the user, or -1.
    QTest::addColumn<int>("row");

    QTest::newRow("no phonebook read") << QStringList{"ALDO|1"} << false << "ERRORE" << -1;
    QTest::newRow("empty list would erase the phonebook") << QStringList() << true << "ERRORE" << -1;
    QStringList tooMany;
    for (int k = 1; k <= kPositions + 1; ++k)
        tooMany.append(QStringLiteral("N%1|1").arg(k));
    QTest::newRow("more entries than positions") << tooMany << true << kInvalid << kPositions;
    // From a list file made for a phonebook with longer fields.
    QTest::newRow("name too long") << QStringList{"ALDO|1", "BARTOLOMEO CARLI|2"} << true << kInvalid << 1;
    QTest::newRow("number too long") << QStringList{"ALDO|+3906123456789012345678"} << true << kInvalid << 0;
    QTest::newRow("quote in a name") << QStringList{"ALDO|1", "IL \"CAPO\"|2"} << true << kInvalid << 1;
    QTest::newRow("quote in a number") << QStringList{"ALDO|1\"2"} << true << kInvalid << 0;
    // A lone CR survives the file load; sent, it would end the command.
    QTest::newRow("CR in a name") << QStringList{"ALDO\rATZ|1"} << true << kInvalid << 0;
}

void TestPhonebookWriteBack::refusedBeforeAnythingIsSent()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, read);
    QFETCH(QString, message);
    QFETCH(int, row);
    FormVariables vars = readSim();
    if (!read)
        vars.phonebook.reset();
    const QMap<int, QString> before = m_phone->entries();
    const Outcome outcome = run(pairEntries(entries), vars, {kPositions + 1, 20, 30});
    QCOMPARE(outcome.message, message);
    QCOMPARE(outcome.selectList2, row);
    QVERIFY(m_report.messages.isEmpty());
    QVERIFY(m_phone->commands().isEmpty());
    QCOMPARE(m_phone->entries(), before);
    QCOMPARE(m_List1.lines(), m_list1Before);
}

void TestPhonebookWriteBack::phoneRefusingPositionFive()
{
    m_phone->refuse(QStringLiteral("+CPBW=5,"));
    const Outcome outcome = run(kSorted);
    QCOMPARE(m_phone->commands().size(), 5);
    const QMap<int, QString> phonebook = m_phone->entries();
    QCOMPARE(phonebook.value(4), QStringLiteral("|112|129"));
    QVERIFY(!phonebook.contains(5));
    QCOMPARE(phonebook.value(7), QStringLiteral("ZIO|+390622|145"));
    QCOMPARE(phonebook.value(12), QStringLiteral("ULTIMO|099|129"));
    // The refused line is named and selected in List2.
    QCOMPARE(outcome.message, kFailed + QStringLiteral(": 05/12 BRUNO"));
    QCOMPARE(outcome.selectList2, 4);
    QCOMPARE(m_List1.lines(), m_list1Before);
}

void TestPhonebookWriteBack::portClosedAfterTheRead()
{
    m_phone->link.close();
    QCOMPARE(run(kSorted).message, kFailed);
    QVERIFY(m_phone->commands().isEmpty());
    QCOMPARE(m_List1.lines(), m_list1Before);
}

void TestPhonebookWriteBack::lineDroppingMidWrite()
{
    m_phone->hangUpAfter(3);
    QCOMPARE(run(kSorted).message, kFailed);
    QCOMPARE(m_List1.lines(), m_list1Before);
    QVERIFY(!m_phone->link.isOpen());
}

void TestPhonebookWriteBack::programEndingMidWrite()
{
    m_report.stopAfterSteps = 2;
    QCOMPARE(run(kSorted).message, QString());
    QCOMPARE(m_phone->commands().size(), 2);
    QCOMPARE(m_List1.lines(), m_list1Before);

    // A transaction cancelled while it waits ends the write as quietly.
    m_report = RecordingReport();
    m_phone->cancelOn(QStringLiteral("+CPBW=3,"));
    QCOMPARE(run(kSorted).message, QString());
    QCOMPARE(m_List1.lines(), m_list1Before);
}

QTEST_GUILESS_MAIN(TestPhonebookWriteBack)
#include "tst_phonebookwriteback.moc"
