// The read of a phonebook from the simulated phone: what it shows, what it
// asks the phone, and where it stops when the phone refuses, the port is
// closed or the user ends the program.
#include "pairentries.h"
#include "phonebookread.h"
#include "recordingreport.h"
#include "simlink.h"
#include "windowtexts.h"

#include <QTest>
#include <QTimer>

#include <memory>

Q_DECLARE_METATYPE(SimOptions)
Q_DECLARE_METATYPE(SimPhonebook)

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

// The read-layout lines of what the phonebook holds, position 1 onwards.
QStringList linesOf(const SimPhonebook &book)
{
    const PhonebookLine::Limits limits{book.last, book.textLength, book.numberLength};
    QStringList lines;
    for (int i = 1; i <= book.last; ++i) {
        PhonebookEntry entry;
        entry.position = i;
        entry.number = book.entries.value(i).number;
        entry.name = book.entries.value(i).text;
        lines.append(PhonebookLine::draw(entry, PhonebookLine::Layout::Read, limits));
    }
    return lines;
}

QStringList positionReads(int last)
{
    QStringList commands;
    for (int i = 1; i <= last; ++i)
        commands.append(QStringLiteral("+CPBR=%1").arg(i));
    return commands;
}

// Limits and lists left by an earlier read, to see what a read changes.
FormVariables earlierRead()
{
    FormVariables vars;
    vars.MAXNUMRUB = 3;
    vars.MAXCARNOM = 5;
    vars.MAXCARNUM = 6;
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
    Outcome m_outcome;
    PhonebookListModel m_list1;
    PhonebookListModel m_list2;
    FormVariables m_vars;
    QList<FormVariables> m_limitsSeen;
};

void TestPhonebookRead::init()
{
    m_sim = std::make_unique<SimLink>();
    m_sim->phone.setPhonebooks({{SimStorage::Sim, kNine}, {SimStorage::PhoneMemory, kNine}});
    QString why;
    QVERIFY2(m_sim->start(&why), qPrintable(why));
    m_report = RecordingReport();
    m_vars = earlierRead();
    m_list1.setEntries(pairEntries({"LEFT FROM|1", "AN EARLIER READ|2"}), PhonebookLine::Layout::Read,
                       m_vars.lineLimits());
    m_list2.setEntries(pairEntries({"A SORTED LIST|3"}), PhonebookLine::Layout::Sorted, m_vars.lineLimits());
    m_limitsSeen.clear();
}

void TestPhonebookRead::read(int selector)
{
    m_outcome = LegRub(selector, m_sim->link, m_vars, m_list1, m_list2, m_report,
                       [this] { m_limitsSeen.append(m_vars); });
}

void TestPhonebookRead::wholeRead_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<SimPhonebook>("book");
    QTest::addColumn<SimOptions>("options");
    // The commands before "+CPBR=?", and the progress texts.
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<QStringList>("messages");

    const QStringList sim{WindowText::kReadingSim};
    QTest::newRow("SIM") << kSelectorSim << kNine << SimOptions() << QStringList{"+CPBS=SM"} << sim;
    QTest::newRow("phone memory of one empty position")
        << kSelectorPhone << phonebook(1, 40, 20) << SimOptions() << QStringList{"+CPBS=ME"}
        << QStringList{WindowText::kReadingPhone};
    QTest::newRow("250 positions") << kSelectorSim << phonebook(250, 40, 18) << SimOptions()
                                   << QStringList{"+CPBS=SM"} << sim;
    SimOptions quoted;
    quoted.quotedStrings = true;
    QTest::newRow("storage name taken only quoted")
        << kSelectorSim << kNine << quoted << QStringList{"+CPBS=SM", "+CPBS=\"SM\""} << sim;
    // A SIM just powered on: asked again, it reads as usual, at the cost of
    // the retries alone.
    SimOptions busy;
    busy.cmee = SimOptions::NumberedErrors;
    busy.simBusyAnswers = 2;
    // Huawei sticks' codes in every answer, the selection's included.
    SimOptions chatty;
    chatty.unsolicitedLines = {"^RSSI:14", "^BOOT:1234,0,0,0,72", "^MODE: 2\r", "PB DONE"};
    QTest::newRow("vendor codes inside every answer") << kSelectorSim << kNine << chatty << QStringList{"+CPBS=SM"}
                                                      << sim;
    QTest::newRow("SIM busy twice at first") << kSelectorSim << kNine << busy
                                             << QStringList{"+CPBS=SM", "+CPBS=SM", "+CPBS=SM"}
                                             << QStringList{WindowText::kSimBusy} + sim;
}

void TestPhonebookRead::wholeRead()
{
    QFETCH(int, selector);
    QFETCH(SimPhonebook, book);
    QFETCH(SimOptions, options);
    QFETCH(QStringList, selection);
    QFETCH(QStringList, messages);

    m_sim->phone.setOptions(options);
    m_sim->phone.setPhonebooks({{SimStorage::Sim, book}, {SimStorage::PhoneMemory, book}});
    read(selector);

    QCOMPARE(m_outcome.message, WindowText::kReadDone);
    QVERIFY(m_outcome.done);
    QCOMPARE(m_report.messages, messages);
    QCOMPARE(m_sim->commands(), selection + QStringList{"+CPBR=?"} + positionReads(book.last));
    QCOMPARE(m_vars.RUBSEL(), selector == kSelectorSim ? Rubrica::kSim : Rubrica::kCellulare);
    QCOMPARE(m_list1.lines(), linesOf(book));
    // Only the line is cut to the fields; the entry stays whole.
    for (auto it = book.entries.cbegin(); it != book.entries.cend(); ++it) {
        QCOMPARE(m_list1.entry(it.key() - 1)->name, it->text);
        QCOMPARE(m_list1.entry(it.key() - 1)->number, it->number);
    }
    QVERIFY(m_list2.lines().isEmpty());

    // The window writes its counters from the new limits, once.
    QCOMPARE(m_limitsSeen.size(), 1);
    for (const FormVariables &vars : {m_vars, m_limitsSeen.first()}) {
        QCOMPARE(vars.MAXNUMRUB, book.last);
        QCOMPARE(int(vars.MAXCARNUM), book.numberLength);
        QCOMPARE(vars.MAXCARNOM, book.textLength);
    }
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
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QStringList>("commands");
    // The progress texts, then the outcome's message.
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("message");

    const QStringList reading{WindowText::kReadingSim};
    QTest::newRow("port closed") << kSelectorSim << true << QString() << QStringList() << QStringList()
                                 << WindowText::kPortClosed;
    QTest::newRow("no such phonebook") << 3 << false << QString() << QStringList() << QStringList() << QString();
    QTest::newRow("selection refused in both forms")
        << kSelectorSim << false << "+CPBS" << QStringList{"+CPBS=SM", "+CPBS=\"SM\""} << reading
        << WindowText::kReadFailed;
    QTest::newRow("index range refused") << kSelectorSim << false << "+CPBR=?"
                                         << QStringList{"+CPBS=SM", "+CPBR=?"} << reading << WindowText::kReadFailed;
}

// The lists are emptied and the limits stay those of the earlier read.
void TestPhonebookRead::stopsBeforeAnyPosition()
{
    QFETCH(int, selector);
    QFETCH(bool, portClosed);
    QFETCH(QString, refused);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, messages);
    QFETCH(QString, message);

    if (portClosed)
        m_sim->link.close();
    if (!refused.isEmpty())
        m_sim->phone.setRefusal(QStringList{refused});
    read(selector);

    QCOMPARE(m_outcome.message, message);
    QVERIFY(!m_outcome.done);
    QCOMPARE(m_report.messages, messages);
    QCOMPARE(m_sim->commands(), commands);
    QCOMPARE(m_vars.RUBSEL(), Rubrica::kNone);
    QVERIFY(m_list1.lines().isEmpty());
    QVERIFY(m_list2.lines().isEmpty());
    QVERIFY(m_limitsSeen.isEmpty());
    QCOMPARE(m_vars.MAXNUMRUB, earlierRead().MAXNUMRUB);
    QCOMPARE(m_vars.MAXCARNOM, earlierRead().MAXCARNOM);
}

void TestPhonebookRead::userEndsTheProgram_data()
{
    QTest::addColumn<bool>("duringTransaction");
    QTest::newRow("between positions") << false;
    QTest::newRow("while the phone is asked") << true;
}

// The read stops at once, without a word, keeping the lines read so far
// and the port open for the reset the program sends as it ends.
void TestPhonebookRead::userEndsTheProgram()
{
    QFETCH(bool, duringTransaction);
    if (duringTransaction) {
        m_sim->phone.setSilence(QStringList{"+CPBR=4"});
        connect(&m_sim->link, &PhoneLink::frameSent, this, [this](const QByteArray &frame) {
            if (frame == "AT+CPBR=4\r")
                QTimer::singleShot(20, &m_sim->link, &PhoneLink::cancel);
        });
    } else {
        m_report.stopAfterSteps = 3;
    }
    read(kSelectorSim);

    QCOMPARE(m_outcome.message, QString());
    QVERIFY(!m_outcome.done);
    QCOMPARE(m_vars.RUBSEL(), Rubrica::kNone);
    QCOMPARE(m_list1.lines(), linesOf(kNine).mid(0, 3));
    QCOMPARE(m_sim->commands().last(), duringTransaction ? QStringLiteral("+CPBR=4") : QStringLiteral("+CPBR=3"));
    QVERIFY(m_sim->link.isOpen());
}

QTEST_MAIN(TestPhonebookRead)
#include "tst_phonebookread.moc"
