// SPDX-License-Identifier: GPL-3.0-or-later
// The read of a phonebook from the simulated phone: what it shows, what it
// asks the phone, and where it stops when the phone refuses, the port is
// closed or the user ends the program.
#include "phonebookread.h"
#include "recordingreport.h"
#include "simlink.h"

#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(SimOptions)
Q_DECLARE_METATYPE(SimPhonebook)
Q_DECLARE_METATYPE(PhonebookLimits)
Q_DECLARE_METATYPE(PhonebookRead::End)

namespace {

// Entries at 2, 3, 5, 7 and 9, those the phonebook has room for.
SimPhonebook phonebook(int positions, int numberLength, int textLength)
{
    SimPhonebook book;
    book.last = positions;
    book.numberLength = numberLength;
    book.textLength = textLength;
    const QMap<int, SimEntry> entries = {
        {2, {"+393331234567", 145, "MARIO ROSSI"}},
        {3, {"0612345678", 129, "ZIO PAOLO"}},
        {5, {"", 129, "SOLO NOME"}},
        {7, {"0612345679", 129, ""}},
        {9, {"*100#", 129, "A NAME LONGER THAN ANY FIELD"}},
    };
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        if (book.contains(it.key()))
            book.entries.insert(it.key(), it.value());
    }
    return book;
}

const SimPhonebook kNine = phonebook(9, 20, 14);

PhonebookLimits limitsOf(const SimPhonebook &book)
{
    return {book.last, book.textLength, book.numberLength};
}

// What the phonebook holds, one entry per position from 1, as "name|number".
QStringList namesAndNumbers(const SimPhonebook &book)
{
    QStringList held;
    for (int i = 1; i <= book.last; ++i)
        held.append(book.entries.value(i).text + QLatin1Char('|') + book.entries.value(i).number);
    return held;
}

QStringList namesAndNumbers(const PhonebookEntries &entries)
{
    QStringList held;
    for (const PhonebookEntry &entry : entries)
        held.append(entry.name + QLatin1Char('|') + entry.number);
    return held;
}

QStringList positionReads(int last)
{
    QStringList commands;
    for (int i = 1; i <= last; ++i)
        commands.append(QStringLiteral("+CPBR=%1").arg(i));
    return commands;
}

// PhonebookLimits and lists left by an earlier read, to see what a read changes.
FormVariables earlierRead()
{
    FormVariables vars;
    vars.limits.MAXNUMRUB = 3;
    vars.limits.MAXCARNOM = 5;
    vars.limits.MAXCARNUM = 6;
    vars.phonebook = Phonebooks::kSim;
    return vars;
}

}

class TestPhonebookRead : public QObject {
    Q_OBJECT
private slots:
    void init();

    void wholeRead_data();
    void wholeRead();
    void stopsBeforeAnyPosition_data();
    void stopsBeforeAnyPosition();
    void userEndsTheProgram_data();
    void userEndsTheProgram();

private:
    void read(int selector);

    std::unique_ptr<SimLink> m_sim;
    RecordingReport m_report;
    // What the last read() came to.
    PhonebookRead m_read;
};

void TestPhonebookRead::init()
{
    m_sim = std::make_unique<SimLink>();
    m_sim->phone.setPhonebooks({{SimStorage::Sim, kNine}, {SimStorage::PhoneMemory, kNine}});
    QString why;
    QVERIFY2(m_sim->start(&why), qPrintable(why));
    m_report = RecordingReport();
}

void TestPhonebookRead::read(int selector)
{
    m_read = LegRub(selector, m_sim->link, earlierRead(), m_report);
}

void TestPhonebookRead::wholeRead_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<SimPhonebook>("book");
    QTest::addColumn<SimOptions>("options");
    // The commands before the first position's read, and the stages.
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QList<Stage>>("stages");
    QTest::addColumn<PhonebookLimits>("limits");

    const QList<Stage> sim{Stage::ReadingSim};
    const QStringList range{"+CPBS=SM", "+CPBR=?"};
    QTest::newRow("SIM") << kSelectorSim << kNine << SimOptions() << range << sim << limitsOf(kNine);
    const SimPhonebook one = phonebook(1, 40, 20);
    QTest::newRow("phone memory of one empty position")
        << kSelectorPhone << one << SimOptions() << QStringList{"+CPBS=ME", "+CPBR=?"}
        << QList<Stage>{Stage::ReadingPhone} << limitsOf(one);
    const SimPhonebook many = phonebook(250, 40, 18);
    QTest::newRow("250 positions") << kSelectorSim << many << SimOptions() << range << sim << limitsOf(many);
    SimOptions quoted;
    quoted.quotedStrings = true;
    QTest::newRow("storage name taken only quoted")
        << kSelectorSim << kNine << quoted << QStringList{"+CPBS=SM", "+CPBS=\"SM\"", "+CPBR=?"} << sim
        << limitsOf(kNine);
    // Huawei sticks' codes in every answer, the selection's included.
    SimOptions chatty;
    chatty.unsolicitedLines = {"^RSSI:14", "^BOOT:1234,0,0,0,72", "^MODE: 2\r", "PB DONE"};
    QTest::newRow("vendor codes inside every answer") << kSelectorSim << kNine << chatty << range << sim
                                                      << limitsOf(kNine);
    // A SIM just powered on: asked again, it reads as usual, at the cost of
    // the retries alone; "please wait" is the same.
    const QStringList selectedThrice{"+CPBS=SM", "+CPBS=SM", "+CPBS=SM", "+CPBR=?"};
    const QList<Stage> busyFirst = QList<Stage>{Stage::SimBusy} + sim;
    SimOptions busy;
    busy.cmee = SimOptions::NumberedErrors;
    busy.simBusyAnswers = 2;
    QTest::newRow("SIM busy twice at first") << kSelectorSim << kNine << busy << selectedThrice << busyFirst
                                             << limitsOf(kNine);
    SimOptions pleaseWait = busy;
    pleaseWait.busyAsPleaseWait = true;
    QTest::newRow("please wait twice at first") << kSelectorSim << kNine << pleaseWait << selectedThrice << busyFirst
                                                << limitsOf(kNine);
    pleaseWait.cmee = SimOptions::VerboseErrors;
    QTest::newRow("please wait as text") << kSelectorSim << kNine << pleaseWait << selectedThrice << busyFirst
                                         << limitsOf(kNine);

    // A phone that refuses the range query tells the limits by the write
    // command's test form; one that refuses that too, its positions by the
    // storage's count, and the read takes the lengths from the longest name
    // and number it finds.
    SimOptions noRange;
    noRange.rangeQueryRefused = true;
    QTest::newRow("range query refused") << kSelectorSim << kNine << noRange << range + QStringList{"+CPBW=?"} << sim
                                         << limitsOf(kNine);
    SimOptions noTests = noRange;
    noTests.writeQueryRefused = true;
    QTest::newRow("both test forms refused")
        << kSelectorSim << kNine << noTests << range + QStringList{"+CPBW=?", "+CPBS?"} << sim
        << PhonebookLimits{9, int(qstrlen("A NAME LONGER THAN ANY FIELD")), int(qstrlen("+393331234567"))};
    // Some Samsung phones have no range to tell while their phone memory is
    // empty.
    SimPhonebook empty = phonebook(20, 40, 20);
    empty.entries.clear();
    SimOptions noRangeEmpty;
    noRangeEmpty.cmee = SimOptions::NumberedErrors;
    noRangeEmpty.noRangeWhenEmpty = true;
    QTest::newRow("empty phone memory without a range")
        << kSelectorPhone << empty << noRangeEmpty << QStringList{"+CPBS=ME", "+CPBR=?", "+CPBW=?"}
        << QList<Stage>{Stage::ReadingPhone} << limitsOf(empty);
    noRangeEmpty.writeQueryRefused = true;
    QTest::newRow("empty phone memory, only its positions told")
        << kSelectorPhone << empty << noRangeEmpty << QStringList{"+CPBS=ME", "+CPBR=?", "+CPBW=?", "+CPBS?"}
        << QList<Stage>{Stage::ReadingPhone} << PhonebookLimits{20, 0, 0};
}

void TestPhonebookRead::wholeRead()
{
    QFETCH(int, selector);
    QFETCH(SimPhonebook, book);
    QFETCH(SimOptions, options);
    QFETCH(QStringList, asked);
    QFETCH(QList<Stage>, stages);
    QFETCH(PhonebookLimits, limits);

    m_sim->phone.setOptions(options);
    m_sim->phone.setPhonebooks({{SimStorage::Sim, book}, {SimStorage::PhoneMemory, book}});
    read(selector);

    QCOMPARE(m_read.end, PhonebookRead::End::Done);
    QCOMPARE(m_report.stages, stages);
    QCOMPARE(m_sim->commands(), asked + positionReads(book.last));
    QCOMPARE(m_read.vars.RUBSEL(), selector == kSelectorSim ? Rubrica::kSim : Rubrica::kCellulare);
    QCOMPARE(namesAndNumbers(m_read.entries), namesAndNumbers(book));
    // Each position is told once the limits are, in order.
    QCOMPARE(m_report.positions, m_read.entries);
    QCOMPARE(m_report.limits.size(), 1);
    QCOMPARE(m_report.limits.first().limits, limits);
    QCOMPARE(m_read.vars.limits, limits);
    QCOMPARE(m_report.maximums, QList<double>{double(book.last)});
    QList<double> steps;
    for (int i = 1; i <= book.last; ++i)
        steps.append(i);
    QCOMPARE(m_report.values, steps);
}

void TestPhonebookRead::stopsBeforeAnyPosition_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<bool>("portClosed");
    // The commands the phone refuses, by their start.
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QStringList>("commands");
    // The stages, then how the read ends.
    QTest::addColumn<QList<Stage>>("stages");
    QTest::addColumn<PhonebookRead::End>("end");

    const QList<Stage> reading{Stage::ReadingSim};
    QTest::newRow("port closed") << kSelectorSim << true << QStringList() << QStringList() << QList<Stage>()
                                 << PhonebookRead::End::PortClosed;
    QTest::newRow("no such phonebook") << 3 << false << QStringList() << QStringList() << QList<Stage>()
                                       << PhonebookRead::End::Stopped;
    QTest::newRow("selection refused in both forms")
        << kSelectorSim << false << QStringList{"+CPBS"} << QStringList{"+CPBS=SM", "+CPBS=\"SM\""} << reading
        << PhonebookRead::End::Failed;
    const QStringList sizes{"+CPBR=?", "+CPBW=?", "+CPBS?"};
    QTest::newRow("range, write range and storage count refused")
        << kSelectorSim << false << sizes << QStringList{"+CPBS=SM"} + sizes << reading << PhonebookRead::End::Failed;
}

// Nothing is read and the limits stay those of the earlier read.
void TestPhonebookRead::stopsBeforeAnyPosition()
{
    QFETCH(int, selector);
    QFETCH(bool, portClosed);
    QFETCH(QStringList, refused);
    QFETCH(QStringList, commands);
    QFETCH(QList<Stage>, stages);
    QFETCH(PhonebookRead::End, end);

    if (portClosed)
        m_sim->link.close();
    if (!refused.isEmpty())
        m_sim->phone.setRefusal(refused);
    read(selector);

    QCOMPARE(m_read.end, end);
    QCOMPARE(m_report.stages, stages);
    QCOMPARE(m_sim->commands(), commands);
    QCOMPARE(m_read.vars.RUBSEL(), Rubrica::kNone);
    QVERIFY(m_read.entries.isEmpty());
    QVERIFY(m_report.limits.isEmpty());
    QCOMPARE(m_read.vars.limits, earlierRead().limits);
}

void TestPhonebookRead::userEndsTheProgram_data()
{
    QTest::addColumn<bool>("duringTransaction");
    QTest::newRow("between positions") << false;
    QTest::newRow("while the phone is asked") << true;
}

// The read stops at once, without a word, keeping the entries read so far
// and the port open for the reset the program sends as it ends.
void TestPhonebookRead::userEndsTheProgram()
{
    QFETCH(bool, duringTransaction);
    if (duringTransaction) {
        m_sim->phone.setSilence(QStringList{"+CPBR=4"});
        connect(&m_sim->link, &PhoneLink::frameSent, this, [this](const QByteArray &frame) {
            if (frame == "AT+CPBR=4\r")
                m_sim->link.cancel();
        });
    } else {
        m_report.stopAfterSteps = 3;
    }
    read(kSelectorSim);

    QCOMPARE(m_read.end, PhonebookRead::End::Stopped);
    QCOMPARE(m_read.vars.RUBSEL(), Rubrica::kNone);
    QCOMPARE(namesAndNumbers(m_read.entries), namesAndNumbers(kNine).mid(0, 3));
    QTRY_COMPARE(m_sim->commands().last(), duringTransaction ? QStringLiteral("+CPBR=4") : QStringLiteral("+CPBR=3"));
    QVERIFY(m_sim->link.isOpen());
}

QTEST_MAIN(TestPhonebookRead)
#include "tst_phonebookread.moc"
