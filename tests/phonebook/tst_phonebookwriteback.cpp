// The write-back of the sorted list to the simulated phone: the commands
// it sends, what the phone holds afterwards, and List1 as it is left.
#include "pairentries.h"
#include "phonebooklistmodel.h"
#include "phonebooksort.h"
#include "phonebookwriteback.h"
#include "readlimits.h"
#include "recordingreport.h"
#include "simlink.h"

#include <QTest>
#include <QTimer>

#include <memory>

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

// The phone's book of positions positions, holding three entries to be
// overwritten or cleared.
SimPhonebook heldBefore(int positions)
{
    SimPhonebook book;
    book.last = positions;
    book.textLength = kTextLength;
    book.numberLength = kNumberLength;
    const QMap<int, SimEntry> held{{2, {"0611", 129, "VECCHIO"}}, {7, {"+390622", 145, "ZIO"}},
                                   {12, {"099", 129, "ULTIMO"}}};
    for (auto it = held.cbegin(); it != held.cend() && it.key() <= positions; ++it)
        book.entries.insert(it.key(), it.value());
    return book;
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
    void writesEntriesThenReadsThemBack_data();
    void writesEntriesThenReadsThemBack();
    void listMadeUnderOtherLimits();
    void equalEntriesKeepTheirFields();
    void refusedBeforeAnythingIsSent_data();
    void refusedBeforeAnythingIsSent();
    void endedMidWay_data();
    void endedMidWay();

private:
    // Writes List2 made of entries under limits (those of the read unless
    // the list came from a file made for another phonebook).
    Outcome run(const PhonebookEntries &List2Entries, const FormVariables &vars = readSim(),
                const PhonebookLine::Limits &listLimits = readSim().lineLimits());

    std::unique_ptr<SimLink> m_sim;
    QStringList m_list1Before;
    PhonebookListModel m_List1;
    RecordingReport m_report;
};

void TestPhonebookWriteBack::init()
{
    m_sim = std::make_unique<SimLink>();
    m_sim->phone.setPhonebooks({{SimStorage::Sim, heldBefore(kPositions)}});
    QString why;
    QVERIFY2(m_sim->start(&why), qPrintable(why));
    m_List1.setEntries(emptyFrom(1), PhonebookLine::Layout::Read, readSim().lineLimits());
    m_list1Before = m_List1.lines();
    m_report = RecordingReport();
}

Outcome TestPhonebookWriteBack::run(const PhonebookEntries &List2Entries, const FormVariables &vars,
                                    const PhonebookLine::Limits &listLimits)
{
    PhonebookListModel List2;
    List2.setEntries(List2Entries, PhonebookLine::Layout::Sorted, listLimits);
    const Outcome outcome = writeSortedPhonebook(m_sim->link, vars, m_List1, List2, m_report);
    // List2 stays for a save or another write, whatever came of this one.
    if (List2.entries() != List2Entries)
        return {QStringLiteral("List2 changed")};
    return outcome;
}

void TestPhonebookWriteBack::writesEntriesThenReadsThemBack_data()
{
    QTest::addColumn<QString>("storage");
    QTest::addColumn<int>("positions");
    QTest::addColumn<QString>("writing");
    // Where the bar ends as List1 is made again: past a cleared position
    // the step is the position itself, past an entry its index.
    QTest::addColumn<double>("lastStep");

    QTest::newRow("SIM: the positions after the list cleared")
        << SimStorage::Sim << kPositions << "SCRITTURA RUBRICA SIM IN CORSO" << 12.1;
    QTest::newRow("phone memory as long as the list: nothing cleared")
        << SimStorage::PhoneMemory << int(kSorted.size()) << "SCRITTURA RUBRICA CELLULARE IN CORSO" << 5.1;
}

void TestPhonebookWriteBack::writesEntriesThenReadsThemBack()
{
    QFETCH(QString, storage);
    QFETCH(int, positions);
    QFETCH(QString, writing);
    QFETCH(double, lastStep);
    m_sim->phone.setPhonebooks({{storage, heldBefore(positions)}});
    FormVariables vars = readSim();
    vars.MAXNUMRUB = positions;
    vars.phonebook = storage == SimStorage::Sim ? Phonebooks::kSim : Phonebooks::kPhone;
    const Outcome outcome = run(kSorted, vars, vars.lineLimits());
    QCOMPARE(outcome.message, kDone);
    QVERIFY(outcome.done);

    QStringList expected{
        "+CPBW=1,\"+393331112222\",145,\"ALDO\"",
        "+CPBW=2,\"0612345678\",129,\"anna\"",
        "+CPBW=3,\"+41791234567\",145,\"ANNALISA\"",
        "+CPBW=4,\"112\",129,\"\"",
        "+CPBW=5,\"\",129,\"BRUNO\"",
        "+CPBW=6,\"3401234567\",129,\"CARLA MARIA\"",
    };
    for (int k = int(kSorted.size()) + 1; k <= positions; ++k)
        expected.append(QStringLiteral("+CPBW=%1").arg(k));
    // Then all of it read back at once, and read on from past the last
    // entry listed where the answer stops short of the end: it may have
    // been cut.
    expected.append(QStringLiteral("+CPBR=1,%1").arg(positions));
    if (positions > kSorted.size())
        expected.append(QStringLiteral("+CPBR=%1,%2").arg(kSorted.size() + 1).arg(positions));
    QCOMPARE(m_sim->commands(), expected);
    const QMap<int, SimEntry> written{{1, {"+393331112222", 145, "ALDO"}}, {2, {"0612345678", 129, "anna"}},
                                      {3, {"+41791234567", 145, "ANNALISA"}}, {4, {"112", 129, ""}},
                                      {5, {"", 129, "BRUNO"}},                {6, {"3401234567", 129, "CARLA MARIA"}}};
    QCOMPARE(m_sim->phone.phonebook(storage), written);

    // List1 mirrors the phone: the sorted lines, then sorted-layout blanks.
    QCOMPARE(m_List1.lines(), sortedLines((kSorted + emptyFrom(7)).mid(0, positions), vars.lineLimits()));
    QCOMPARE(m_report.messages, (QStringList{writing, "VERIFICA SCRITTURA IN CORSO"}));
    QCOMPARE(m_report.values.first(), 0.1);
    QCOMPARE(m_report.values.last(), lastStep);
}

void TestPhonebookWriteBack::listMadeUnderOtherLimits()
{
    // A list file saved for a phonebook of 99 positions, 20-character
    // names and 10-character numbers, written to the current one.
    const PhonebookEntries foreign = pairEntries({"ALESSANDRO|+39061", "BEATRICE ROSSI|0612"});
    QCOMPARE(run(foreign, readSim(), {99, 20, 10}).message, kDone);
    QCOMPARE(m_sim->commands().mid(0, 2),
             (QStringList{"+CPBW=1,\"+39061\",145,\"ALESSANDRO\"", "+CPBW=2,\"0612\",129,\"BEATRICE ROSSI\""}));
    QCOMPARE(m_List1.lines().mid(0, 2), sortedLines(foreign, readSim().lineLimits()));
    QCOMPARE(m_List1.rowCount(), kPositions);
}

// Three entries alike but for the fields two of them were read with, sorted
// and written back: each keeps its own, in the order read, on the phone
// and in the new List1.
void TestPhonebookWriteBack::equalEntriesKeepTheirFields()
{
    SimOptions usim;
    usim.extraFields = true;
    m_sim->phone.setOptions(usim);
    const FormVariables vars = readSim();
    PhonebookEntries entries = pairEntries({"ADA|0611", "ADA|0611", "", "ADA|0611"}) + emptyFrom(5);
    for (const int k : {2, 4})
        entries[k - 1].fields = {"1", QStringLiteral("F%1").arg(k), "", "", "", "", "", "", ""};
    m_List1.setEntries(entries, PhonebookLine::Layout::Read, vars.lineLimits());
    PhonebookListModel List2;
    sortPhonebook(vars, m_List1, List2, m_report);
    QCOMPARE(writeSortedPhonebook(m_sim->link, vars, m_List1, List2, m_report).message, kDone);

    QCOMPARE(m_sim->commands().mid(0, 3),
             (QStringList{"+CPBW=1,\"0611\",129,\"ADA\"",
                          "+CPBW=2,\"0611\",129,\"ADA\",\"F2\",\"\",,\"\",\"\",\"\",\"\",1",
                          "+CPBW=3,\"0611\",129,\"ADA\",\"F4\",\"\",,\"\",\"\",\"\",\"\",1"}));
    const QMap<int, SimEntry> held = m_sim->phone.phonebook(SimStorage::Sim);
    QCOMPARE(held.keys(), (QList<int>{1, 2, 3}));
    QCOMPARE(held.value(1).group, QString());
    QCOMPARE(held.value(2).group, QStringLiteral("F2"));
    QCOMPARE(held.value(3).group, QStringLiteral("F4"));
    for (int i = 0; i < 3; ++i) {
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
    const Outcome outcome = run(pairEntries(entries), vars, {kPositions + 1, 20, 30});
    QCOMPARE(outcome.message, message);
    QCOMPARE(outcome.selectList2, row);
    QVERIFY(m_report.messages.isEmpty());
    QVERIFY(m_sim->commands().isEmpty());
    QCOMPARE(m_sim->phone.phonebook(SimStorage::Sim), heldBefore(kPositions).entries);
    QCOMPARE(m_List1.lines(), m_list1Before);
}

void TestPhonebookWriteBack::endedMidWay_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("commandsSent");
    QTest::addColumn<QString>("message");

    QTest::newRow("port closed after the read") << "closed" << 0 << kFailed;
    // Ending the program is no failure to report.
    QTest::newRow("program ending between writes") << "steps" << 2 << QString();
    QTest::newRow("program ending while a write waits") << "cancel" << 3 << QString();
}

// What the phone took stays there; List1 stays as it was.
void TestPhonebookWriteBack::endedMidWay()
{
    QFETCH(QString, fault);
    QFETCH(int, commandsSent);
    QFETCH(QString, message);
    if (fault == QLatin1String("closed")) {
        m_sim->link.close();
    } else if (fault == QLatin1String("steps")) {
        m_report.stopAfterSteps = 2;
    } else {
        m_sim->phone.setSilence(QStringList{"+CPBW=3,"});
        connect(&m_sim->link, &PhoneLink::frameSent, this, [this](const QByteArray &frame) {
            if (frame.startsWith("AT+CPBW=3,"))
                QTimer::singleShot(20, &m_sim->link, &PhoneLink::cancel);
        });
    }
    const Outcome outcome = run(kSorted);
    QCOMPARE(outcome.message, message);
    QVERIFY(!outcome.done);
    QCOMPARE(m_sim->commands().size(), commandsSent);
    QCOMPARE(m_List1.lines(), m_list1Before);
}

QTEST_GUILESS_MAIN(TestPhonebookWriteBack)
#include "tst_phonebookwriteback.moc"
