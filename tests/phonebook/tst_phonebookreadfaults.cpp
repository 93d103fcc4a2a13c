// The read against answers it cannot take: it stops with the lines read so
// far, and a code that comes unasked changes nothing.
#include "windowtexts.h"
#include "phonebookread.h"
#include "phonebookreadrun.h"

#include <QTest>

#include <memory>

using namespace std::chrono_literals;

namespace {
// Short, for the cases that run into it.
constexpr auto kSilentDeadline = 300ms;

const QByteArray kError = "\r\nERROR\r\n";
}

class TestPhonebookReadFaults : public QObject {
    Q_OBJECT
private slots:
    void init();

    void stopsOnUnexpectedAnswers_data();
    void stopsOnUnexpectedAnswers();
    void unsolicitedCodesInAnswers_data();
    void unsolicitedCodesInAnswers();
    void hangUpMidRead();
    void silenceMidRead();

private:
    void openLink(std::chrono::milliseconds deadline = kAnsweredDeadline);
    void checkStoppedWithError(int linesKept);

    std::unique_ptr<PhonebookReadRun> m_run;
};

void TestPhonebookReadFaults::init()
{
    m_run = std::make_unique<PhonebookReadRun>();
    QVERIFY(m_run->phone.start());
}

void TestPhonebookReadFaults::openLink(std::chrono::milliseconds deadline)
{
    QString why;
    QVERIFY2(m_run->openLink(deadline, &why), qPrintable(why));
}

void TestPhonebookReadFaults::checkStoppedWithError(int linesKept)
{
    QCOMPARE(m_run->outcome.message, WindowText::kReadFailed);
    QCOMPARE(m_run->vars.RUBSEL(), Rubrica::kNone);
    QVERIFY(m_run->list2.lines().isEmpty());
    QCOMPARE(m_run->list1.rowCount(), linesKept);
    if (linesKept > 0) {
        const PhonebookLine::Limits limits = m_run->vars.lineLimits();
        // The positions past the phonebook, which the phone refuses, empty.
        const int highest = qMin(linesKept, m_run->phone.highest);
        QCOMPARE(m_run->list1.lines(),
                 expectedLines(highest, limits, true) + expectedLines(linesKept, limits, false).mid(highest));
    }
}

void TestPhonebookReadFaults::stopsOnUnexpectedAnswers_data()
{
    QTest::addColumn<bool>("wantsQuotes");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("linesKept");
    QTest::addColumn<QString>("lastCommand");

    const QByteArray quoted = "+CPBS=\"SM\"";
    const QByteArray range = "+CPBR=?";
    const QByteArray position = "+CPBR=4";
    const QByteArray storage = "+CPBS?";
    const QByteArray cmeError = "\r\n+CME ERROR: 3\r\n";

    QTest::newRow("selection refused twice") << true << quoted << kError << 9 << 0 << QString(quoted);
    QTest::newRow("selection answered with text") << true << quoted << QByteArray("\r\n+CME ERROR: 3\r\n\r\nOK\r\n")
                                                  << 9 << 0 << QString(quoted);
    QTest::newRow("range ERROR") << false << range << kError << 9 << 0 << QString(range);
    QTest::newRow("range upper bound 0") << false << range << QByteArray("\r\n+CPBR: (1-0),20,14\r\n\r\nOK\r\n")
                                         << 9 << 0 << QString(range);
    QTest::newRow("range without text length") << false << range << QByteArray("\r\n+CPBR: (1-9),20\r\n\r\nOK\r\n")
                                               << 9 << 0 << QString(range);
    // An error other than "not found" leaves a position unaccounted for,
    // and this phone cannot tell how many entries it holds.
    QTest::newRow("position ERROR") << false << position << kError << 9 << 9 << QString(storage);
    QTest::newRow("position CME error") << false << position << cmeError << 9 << 9 << QString(storage);
    QTest::newRow("position answered with text")
        << false << position << QByteArray("\r\n+CPBR: 4,0612345678,129,CASA\r\n\r\nOK\r\n") << 9 << 3
        << QString(position);
    // Taken for position 4, the entry of 2 would be read twice and what 4
    // holds overwritten by the write-back.
    QTest::newRow("position answered with another's entry")
        << false << position << QByteArray("\r\n+CPBR: 2,\"+393331234567\",145,\"MARIO ROSSI\"\r\n\r\nOK\r\n")
        << 9 << 3 << QString(position);
    QTest::newRow("position garbage") << false << position << QByteArray("\r\n+CPBR: HELLO\r\n\r\nOK\r\n")
                                      << 9 << 3 << QString(position);
    // The phone refuses the positions its range promised, and counts
    // more entries than it gave.
    QTest::newRow("range larger than the phonebook")
        << false << storage << QByteArray("\r\n+CPBS: \"SM\",5,9\r\n\r\nOK\r\n") << 6 << 9 << QString(storage);
}

void TestPhonebookReadFaults::stopsOnUnexpectedAnswers()
{
    QFETCH(bool, wantsQuotes);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    QFETCH(int, highest);
    QFETCH(int, linesKept);
    QFETCH(QString, lastCommand);

    m_run->phone.wantsQuotes = wantsQuotes;
    m_run->phone.highest = highest;
    m_run->phone.entries = someEntries();
    if (!command.isEmpty())
        m_run->phone.answers.insert(command, answer);
    openLink();
    m_run->read(kSelectorSim);

    checkStoppedWithError(linesKept);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_run->phone.commands().last(), lastCommand);
    // The limits change only with a range answer that makes sense.
    const bool rangeRead = m_run->phone.commands().contains("+CPBR=1");
    QCOMPARE(m_run->limitsSeen.size(), rangeRead ? 1 : 0);
    QCOMPARE(m_run->vars.MAXNUMRUB, rangeRead ? 9 : earlierRead().MAXNUMRUB);
    QCOMPARE(m_run->vars.MAXCARNOM, rangeRead ? 14 : earlierRead().MAXCARNOM);
}

void TestPhonebookReadFaults::unsolicitedCodesInAnswers_data()
{
    QTest::addColumn<QByteArray>("unsolicited");

    QTest::newRow("ring") << QByteArray("RING\r\n\r\n");
    QTest::newRow("new message") << QByteArray("+CMTI: \"SM\",3\r\n\r\n");
    QTest::newRow("a call in full") << QByteArray("RING\r\n\r\n+CLIP: \"0612345678\",129,\"\",,\"MARIO\",0\r\n\r\n");
}

// Quotes and commas in the codes must neither end the read nor turn an
// empty position into an entry.
void TestPhonebookReadFaults::unsolicitedCodesInAnswers()
{
    QFETCH(QByteArray, unsolicited);

    m_run->phone.entries = someEntries();
    m_run->phone.unsolicited = unsolicited;
    openLink();
    m_run->read(kSelectorSim);

    QCOMPARE(m_run->outcome.message, WindowText::kReadDone);
    QCOMPARE(m_run->list1.lines(), expectedLines(9, {9, 14, 20}, true));
}

void TestPhonebookReadFaults::hangUpMidRead()
{
    m_run->phone.entries = someEntries();
    m_run->phone.hangUpOn = "+CPBR=4";
    openLink();
    m_run->read(kSelectorSim);

    checkStoppedWithError(3);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!m_run->link->isOpen());
}

void TestPhonebookReadFaults::silenceMidRead()
{
    m_run->phone.entries = someEntries();
    m_run->phone.silentOn.insert("+CPBR=4");
    openLink(kSilentDeadline);
    m_run->read(kSelectorSim);

    checkStoppedWithError(3);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_run->phone.commands().count("+CPBR=4"), 101);
    QVERIFY(!m_run->phone.commands().contains("+CPBR=5"));
}

QTEST_MAIN(TestPhonebookReadFaults)
#include "tst_phonebookreadfaults.moc"
