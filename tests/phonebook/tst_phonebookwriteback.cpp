// SPDX-License-Identifier: GPL-3.0-or-later
// The write-back of the sorted list to the simulated phone: the commands
// it sends, what the phone holds afterwards, and what it tells List1.
#include "pairentries.h"
#include "phonebooksort.h"
#include "phonebookwriteback.h"
#include "readlimits.h"
#include "recordingreport.h"
#include "simlink.h"

#include <QTest>

#include <memory>

namespace {
using End = WriteBack::End;

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

// The entries numbered from 1, as the phone must hold them.
PhonebookEntries atPositions(PhonebookEntries entries)
{
    for (int i = 0; i < entries.size(); ++i)
        entries[i].position = i + 1;
    return entries;
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
    WriteBack run(const PhonebookEntries &list, const FormVariables &vars = readSim());

    std::unique_ptr<SimLink> m_sim;
    RecordingReport m_report;
};

void TestPhonebookWriteBack::init()
{
    m_sim = std::make_unique<SimLink>();
    m_sim->phone.setPhonebooks({{SimStorage::Sim, heldBefore(kPositions)}});
    QString why;
    QVERIFY2(m_sim->start(&why), qPrintable(why));
    m_report = RecordingReport();
}

WriteBack TestPhonebookWriteBack::run(const PhonebookEntries &list, const FormVariables &vars)
{
    return writeSortedPhonebook(m_sim->link, vars, list, emptyFrom(1), m_report);
}

void TestPhonebookWriteBack::writesEntriesThenReadsThemBack_data()
{
    QTest::addColumn<QString>("storage");
    QTest::addColumn<int>("positions");
    QTest::addColumn<Stage>("writing");
    // Where the bar ends as List1 is made again: past a cleared position
    // the step is the position itself, past an entry its index.
    QTest::addColumn<double>("lastStep");

    QTest::newRow("SIM: the positions after the list cleared")
        << SimStorage::Sim << kPositions << Stage::WritingSim << 12.1;
    QTest::newRow("phone memory as long as the list: nothing cleared")
        << SimStorage::PhoneMemory << int(kSorted.size()) << Stage::WritingPhone << 5.1;
}

void TestPhonebookWriteBack::writesEntriesThenReadsThemBack()
{
    QFETCH(QString, storage);
    QFETCH(int, positions);
    QFETCH(Stage, writing);
    QFETCH(double, lastStep);
    m_sim->phone.setPhonebooks({{storage, heldBefore(positions)}});
    FormVariables vars = readSim();
    vars.limits.MAXNUMRUB = positions;
    vars.phonebook = storage == SimStorage::Sim ? Phonebooks::kSim : Phonebooks::kPhone;
    const WriteBack result = run(kSorted, vars);
    QCOMPARE(result.end, End::Done);

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

    // List1 is to mirror the phone: the sorted entries, then empty ones.
    QCOMPARE(*result.phone, (atPositions(kSorted) + emptyFrom(7)).mid(0, positions));
    QCOMPARE(m_report.stages, (QList<Stage>{writing, Stage::Checking}));
    QCOMPARE(m_report.values.first(), 0.1);
    QCOMPARE(m_report.values.last(), lastStep);
}

void TestPhonebookWriteBack::listMadeUnderOtherLimits()
{
    // A list file saved for a phonebook of 99 positions, numbered there
    // 17 and 42, written to the current one at 1 and 2.
    PhonebookEntries foreign = pairEntries({"ALESSANDRO|+39061", "BEATRICE ROSSI|0612"});
    foreign[0].position = 17;
    foreign[1].position = 42;
    const WriteBack result = run(foreign);
    QCOMPARE(result.end, End::Done);
    QCOMPARE(m_sim->commands().mid(0, 2),
             (QStringList{"+CPBW=1,\"+39061\",145,\"ALESSANDRO\"", "+CPBW=2,\"0612\",129,\"BEATRICE ROSSI\""}));
    QCOMPARE(result.phone->mid(0, 2), atPositions(foreign));
    QCOMPARE(result.phone->size(), kPositions);
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
    const PhonebookEntries sorted = *sortedPhonebook(entries, vars.limits, m_report);
    const WriteBack result = run(sorted, vars);
    QCOMPARE(result.end, End::Done);

    QCOMPARE(m_sim->commands().mid(0, 3),
             (QStringList{"+CPBW=1,\"0611\",129,\"ADA\"",
                          "+CPBW=2,\"0611\",129,\"ADA\",\"F2\",\"\",,\"\",\"\",\"\",\"\",1",
                          "+CPBW=3,\"0611\",129,\"ADA\",\"F4\",\"\",,\"\",\"\",\"\",\"\",1"}));
    const QMap<int, SimEntry> held = m_sim->phone.phonebook(SimStorage::Sim);
    QCOMPARE(held.keys(), (QList<int>{1, 2, 3}));
    QCOMPARE(held.value(1).group, QString());
    QCOMPARE(held.value(2).group, QStringLiteral("F2"));
    QCOMPARE(held.value(3).group, QStringLiteral("F4"));
    QCOMPARE(result.phone->mid(0, 3), sorted);
}

void TestPhonebookWriteBack::refusedBeforeAnythingIsSent_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("read");
    QTest::addColumn<End>("end");
    // The row of List2 shown to the user, or -1.
    QTest::addColumn<int>("row");

    const End kInvalid = End::InvalidList;
    QTest::newRow("no phonebook read") << QStringList{"ALDO|1"} << false << End::NoPhonebook << -1;
    QTest::newRow("empty list would erase the phonebook") << QStringList() << true << End::NoPhonebook << -1;
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
    QFETCH(End, end);
    QFETCH(int, row);
    FormVariables vars = readSim();
    if (!read)
        vars.phonebook.reset();
    const WriteBack result = run(pairEntries(entries), vars);
    QCOMPARE(result.end, end);
    QCOMPARE(result.listRow.value_or(-1), row);
    QVERIFY(m_report.stages.isEmpty());
    QVERIFY(m_sim->commands().isEmpty());
    QCOMPARE(m_sim->phone.phonebook(SimStorage::Sim), heldBefore(kPositions).entries);
    QVERIFY(!result.phone);
}

void TestPhonebookWriteBack::endedMidWay_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("commandsSent");
    QTest::addColumn<End>("end");

    QTest::newRow("port closed after the read") << "closed" << 0 << End::Failed;
    // Ending the program is no failure to report.
    QTest::newRow("program ending between writes") << "steps" << 2 << End::Stopped;
    QTest::newRow("program ending while a write waits") << "cancel" << 3 << End::Stopped;
}

// What the phone took stays there; List1 is to stay as it was.
void TestPhonebookWriteBack::endedMidWay()
{
    QFETCH(QString, fault);
    QFETCH(int, commandsSent);
    QFETCH(End, end);
    if (fault == QLatin1String("closed")) {
        m_sim->link.close();
    } else if (fault == QLatin1String("steps")) {
        m_report.stopAfterSteps = 2;
    } else {
        m_sim->phone.setSilence(QStringList{"+CPBW=3,"});
        connect(&m_sim->link, &PhoneLink::frameSent, this, [this](const QByteArray &frame) {
            if (frame.startsWith("AT+CPBW=3,"))
                m_sim->link.cancel();
        });
    }
    const WriteBack result = run(kSorted);
    QCOMPARE(result.end, end);
    QTRY_COMPARE(m_sim->commands().size(), commandsSent);
    QVERIFY(!result.phone);
}

QTEST_GUILESS_MAIN(TestPhonebookWriteBack)
#include "tst_phonebookwriteback.moc"
