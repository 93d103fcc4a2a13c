#include "phonebookline.h"
#include "phonebookread.h"
#include "recordingreport.h"
#include "scriptedphonebook.h"

#include "phonelink.h"

#include <QTest>
#include <QTimer>

#include <memory>

using namespace std::chrono_literals;
using PhonebookLine::Layout;

namespace {

// Long enough that an answer never races the deadline on a busy machine.
constexpr auto kAnsweredDeadline = 3000ms;
// Short, for the cases that run into it.
constexpr auto kSilentDeadline = 300ms;

const QByteArray kError = "\r\nERROR\r\n";

// Limits and selection left by an earlier read, to see what a read changes.
FormVariables earlierRead()
{
    FormVariables vars;
    vars.MAXNUMRUB = 3;
    vars.MAXCARNOM = 5;
    vars.MAXCARNUM = 6;
    vars.RUBSEL = Rubrica::kSim;
    return vars;
}

QMap<int, ScriptedPhonebook::Entry> someEntries()
{
    return {
        {2, {"+393331234567", 145, "MARIO ROSSI"}},
        // The phone dropped the "+" of an international number.
        {3, {"393401112222", 145, "ZIO PAOLO"}},
        {5, {"", 129, "SOLO NOME"}},
        {7, {"0612345679", 129, ""}},
        {9, {"*100#", 129, "A NAME LONGER THAN ANY FIELD"}},
    };
}

// The lines a correct read of someEntries() gives, positions 1 to highest.
QStringList expectedLines(int highest, const PhonebookLine::Limits &limits, bool withEntries)
{
    QStringList lines;
    const auto entries = someEntries();
    for (int i = 1; i <= highest; ++i) {
        if (!withEntries || !entries.contains(i)) {
            lines.append(PhonebookLine::emptySlot(i, Layout::Read, limits));
            continue;
        }
        QString number = QString::fromLatin1(entries[i].number);
        if (entries[i].type == 145 && !number.isEmpty() && !number.startsWith('+'))
            number.prepend('+');
        lines.append(PhonebookLine::build(i, QString::fromLatin1(entries[i].name), number,
                                          Layout::Read, limits));
    }
    return lines;
}

QStringList positionReads(int from, int to)
{
    QStringList commands;
    for (int i = from; i <= to; ++i)
        commands.append("+CPBR=" + QString::number(i));
    return commands;
}

}

class TestPhonebookRead : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void wholeRead_data();
    void wholeRead();
    void anchoredLines();
    void quotedSelection_data();
    void quotedSelection();
    void stopsOnUnexpectedAnswers_data();
    void stopsOnUnexpectedAnswers();
    void unsolicitedCodesInAnswers_data();
    void unsolicitedCodesInAnswers();
    void simBusyAtFirst();
    void closedPort();
    void unknownSelector();
    void hangUpMidRead();
    void silenceMidRead();
    void userEndsProgramBetweenPositions();
    void userEndsProgramDuringTransaction();

private:
    void openLink(std::chrono::milliseconds deadline = kAnsweredDeadline);
    void read(int selector);
    void checkStoppedWithError(int linesKept);

    std::unique_ptr<ScriptedPhonebook> m_phone;
    std::unique_ptr<PhoneLink> m_link;
    std::unique_ptr<RecordingReport> m_report;
    std::unique_ptr<PhonebookRowModel> m_list1;
    std::unique_ptr<PhonebookRowModel> m_list2;
    FormVariables m_vars;
    QList<FormVariables> m_limitsSeen;
};

void TestPhonebookRead::init()
{
    m_phone = std::make_unique<ScriptedPhonebook>();
    QVERIFY(m_phone->start());
    m_report = std::make_unique<RecordingReport>();
    m_list1 = std::make_unique<PhonebookRowModel>(rowsWithoutFields({"left from", "an earlier read"}));
    m_list2 = std::make_unique<PhonebookRowModel>(rowsWithoutFields({"a sorted list"}));
    m_vars = earlierRead();
    m_limitsSeen.clear();
}

void TestPhonebookRead::cleanup()
{
    m_link.reset();
    m_phone.reset();
}

void TestPhonebookRead::openLink(std::chrono::milliseconds deadline)
{
    m_link = std::make_unique<PhoneLink>(deadline);
    QString why;
    QVERIFY2(m_link->open(m_phone->device(), &why) == PortOpening::Opened, qPrintable(why));
}

void TestPhonebookRead::read(int selector)
{
    LegRub(selector, *m_link, m_vars, *m_list1, *m_list2, *m_report,
           [this] { m_limitsSeen.append(m_vars); });
}

void TestPhonebookRead::checkStoppedWithError(int linesKept)
{
    QCOMPARE(m_report->lastMessage(), ReadMessage::kReadFailed);
    QCOMPARE(m_vars.RUBSEL, Rubrica::kNone);
    QVERIFY(m_list2->lines().isEmpty());
    QCOMPARE(m_list1->rowCount(), linesKept);
    if (linesKept > 0) {
        const PhonebookLine::Limits limits = m_vars.lineLimits();
        QStringList expected = expectedLines(linesKept, limits, true);
        // The positions past the phonebook, which the phone refuses.
        for (int i = m_phone->highest; i < linesKept; ++i)
            expected[i] = PhonebookLine::emptySlot(i + 1, Layout::Read, limits);
        QCOMPARE(m_list1->lines(), expected);
    }
}

void TestPhonebookRead::wholeRead_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<QByteArray>("rangeAnswer");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("maxCarNum");
    QTest::addColumn<int>("maxCarNom");
    QTest::addColumn<bool>("withEntries");

    QTest::newRow("SIM, one-digit tags") << 1 << QByteArray("+CPBR: (1-9),20,14") << 9 << 20 << 14 << true;
    QTest::newRow("phone memory") << 2 << QByteArray("+CPBR: (1-9),20,14") << 9 << 20 << 14 << true;
    QTest::newRow("all positions empty") << 1 << QByteArray("+CPBR: (1-9),20,14") << 9 << 20 << 14 << false;
    QTest::newRow("250 positions") << 1 << QByteArray("+CPBR: (1-250),40,18") << 250 << 40 << 18 << true;
    QTest::newRow("extra fields") << 2 << QByteArray("+CPBR: (1-12),32,16,255,16,255,255,255")
                                  << 12 << 32 << 16 << true;
    QTest::newRow("empty extra fields") << 1 << QByteArray("+CPBR: (1-10),50,14,,,,40,20")
                                        << 10 << 50 << 14 << true;
    QTest::newRow("lower bound ignored") << 1 << QByteArray("+CPBR: (5-20),20,14") << 20 << 20 << 14 << true;
    QTest::newRow("single position") << 2 << QByteArray("+CPBR: (1-1),40,20") << 1 << 40 << 20 << true;
}

void TestPhonebookRead::wholeRead()
{
    QFETCH(int, selector);
    QFETCH(QByteArray, rangeAnswer);
    QFETCH(int, highest);
    QFETCH(int, maxCarNum);
    QFETCH(int, maxCarNom);
    QFETCH(bool, withEntries);

    m_phone->rangeAnswer = rangeAnswer;
    m_phone->highest = highest;
    if (withEntries)
        m_phone->entries = someEntries();
    openLink();
    read(selector);

    const bool sim = selector == kSelectorSim;
    QCOMPARE(m_report->messages, QStringList({sim ? ReadMessage::kReadingSim : ReadMessage::kReadingPhone,
                                              ReadMessage::kReadDone}));
    QCOMPARE(m_vars.RUBSEL, sim ? Rubrica::kSim : Rubrica::kCellulare);
    QCOMPARE(m_vars.MAXNUMRUB, highest);
    QCOMPARE(int(m_vars.MAXCARNUM), maxCarNum);
    QCOMPARE(m_vars.MAXCARNOM, maxCarNom);

    // The window writes its counters from the new limits, once.
    QCOMPARE(m_limitsSeen.size(), 1);
    QCOMPARE(m_limitsSeen[0].MAXNUMRUB, highest);
    QCOMPARE(int(m_limitsSeen[0].MAXCARNUM), maxCarNum);
    QCOMPARE(m_limitsSeen[0].MAXCARNOM, maxCarNom);

    const PhonebookLine::Limits limits{highest, maxCarNom, maxCarNum};
    QCOMPARE(m_list1->lines(), expectedLines(highest, limits, withEntries));
    QVERIFY(m_list2->lines().isEmpty());

    QCOMPARE(m_report->maximums, QList<double>{double(highest)});
    QCOMPARE(m_report->values.size(), highest);
    for (int i = 0; i < highest; ++i)
        QCOMPARE(m_report->values[i], double(i + 1));

    const QStringList expectedCommands = QStringList{sim ? "+CPBS=SM" : "+CPBS=ME", "+CPBR=?"}
        + positionReads(1, highest);
    QCOMPARE(m_phone->commands(), expectedCommands);
}

// The same read, its lines written out by hand.
void TestPhonebookRead::anchoredLines()
{
    m_phone->rangeAnswer = "+CPBR: (1-9),6,4";
    m_phone->entries = someEntries();
    openLink();
    read(kSelectorSim);

    const QString a = QString(QChar(0x00C3));
    const QString b = QString(QChar(0x00B3));
    QCOMPARE(m_list1->lines().mid(0, 5),
             QStringList({"1/9 " + a + "      " + b + "       ",
                          "2/9 " + a + " MARI " + b + " +39333",
                          "3/9 " + a + " ZIO  " + b + " +39340",
                          "4/9 " + a + "      " + b + "       ",
                          "5/9 " + a + " SOLO " + b + "       "}));
}

void TestPhonebookRead::quotedSelection_data()
{
    QTest::addColumn<int>("selector");
    QTest::addColumn<QString>("unquoted");
    QTest::addColumn<QString>("quoted");
    QTest::addColumn<QString>("rubsel");

    QTest::newRow("SIM") << 1 << "+CPBS=SM" << "+CPBS=\"SM\"" << Rubrica::kSim;
    QTest::newRow("phone memory") << 2 << "+CPBS=ME" << "+CPBS=\"ME\"" << Rubrica::kCellulare;
}

void TestPhonebookRead::quotedSelection()
{
    QFETCH(int, selector);
    QFETCH(QString, unquoted);
    QFETCH(QString, quoted);
    QFETCH(QString, rubsel);

    m_phone->wantsQuotes = true;
    m_phone->entries = someEntries();
    openLink();
    read(selector);

    QCOMPARE(m_report->lastMessage(), ReadMessage::kReadDone);
    QCOMPARE(m_vars.RUBSEL, rubsel);
    QCOMPARE(m_phone->commands().mid(0, 3), QStringList({unquoted, quoted, "+CPBR=?"}));
    QCOMPARE(m_list1->lines(), expectedLines(9, {9, 14, 20}, true));
}

void TestPhonebookRead::stopsOnUnexpectedAnswers_data()
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
    QTest::newRow("position garbage") << false << position << QByteArray("\r\nHELLO\r\n\r\nOK\r\n")
                                      << 9 << 3 << QString(position);
    // The phone refuses the positions its range promised, and counts
    // more entries than it gave.
    QTest::newRow("range larger than the phonebook")
        << false << storage << QByteArray("\r\n+CPBS: \"SM\",5,9\r\n\r\nOK\r\n") << 6 << 9 << QString(storage);
}

void TestPhonebookRead::stopsOnUnexpectedAnswers()
{
    QFETCH(bool, wantsQuotes);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    QFETCH(int, highest);
    QFETCH(int, linesKept);
    QFETCH(QString, lastCommand);

    m_phone->wantsQuotes = wantsQuotes;
    m_phone->highest = highest;
    m_phone->entries = someEntries();
    if (!command.isEmpty())
        m_phone->answers.insert(command, answer);
    openLink();
    read(kSelectorSim);

    checkStoppedWithError(linesKept);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_phone->commands().last(), lastCommand);
    // The limits change only with a range answer that makes sense.
    const bool rangeRead = m_phone->commands().contains("+CPBR=1");
    QCOMPARE(m_limitsSeen.size(), rangeRead ? 1 : 0);
    QCOMPARE(m_vars.MAXNUMRUB, rangeRead ? 9 : earlierRead().MAXNUMRUB);
    QCOMPARE(m_vars.MAXCARNOM, rangeRead ? 14 : earlierRead().MAXCARNOM);
}

void TestPhonebookRead::unsolicitedCodesInAnswers_data()
{
    QTest::addColumn<QByteArray>("unsolicited");

    QTest::newRow("ring") << QByteArray("RING\r\n\r\n");
    QTest::newRow("new message") << QByteArray("+CMTI: \"SM\",3\r\n\r\n");
    QTest::newRow("a call in full") << QByteArray("RING\r\n\r\n+CLIP: \"0612345678\",129,\"\",,\"MARIO\",0\r\n\r\n");
}

// Quotes and commas in the codes must neither end the read nor turn an
// empty position into an entry.
void TestPhonebookRead::unsolicitedCodesInAnswers()
{
    QFETCH(QByteArray, unsolicited);

    m_phone->entries = someEntries();
    m_phone->unsolicited = unsolicited;
    openLink();
    read(kSelectorSim);

    QCOMPARE(m_report->lastMessage(), ReadMessage::kReadDone);
    QCOMPARE(m_list1->lines(), expectedLines(9, {9, 14, 20}, true));
}

// A SIM just powered on answers "busy" for a moment: asked again, it reads
// as usual, at the cost of the retries alone.
void TestPhonebookRead::simBusyAtFirst()
{
    m_phone->entries = someEntries();
    m_phone->simBusyAnswers = 2;
    openLink();
    read(kSelectorSim);

    QCOMPARE(m_report->messages,
             QStringList({ReadMessage::kSimBusy, ReadMessage::kReadingSim, ReadMessage::kReadDone}));
    QCOMPARE(m_vars.RUBSEL, Rubrica::kSim);
    QCOMPARE(m_list1->lines(), expectedLines(9, {9, 14, 20}, true));
    QCOMPARE(m_phone->commands(), QStringList({"+CPBS=SM", "+CPBS=SM", "+CPBS=SM", "+CPBR=?"}) + positionReads(1, 9));
}

void TestPhonebookRead::closedPort()
{
    openLink();
    m_link->close();
    read(kSelectorSim);

    QCOMPARE(m_report->messages, QStringList{ReadMessage::kPortClosed});
    QCOMPARE(m_vars.RUBSEL, Rubrica::kNone);
    QVERIFY(m_list1->lines().isEmpty());
    QVERIFY(m_list2->lines().isEmpty());
    QCOMPARE(m_vars.MAXNUMRUB, earlierRead().MAXNUMRUB);
    QVERIFY(m_limitsSeen.isEmpty());
    QVERIFY(m_phone->commands().isEmpty());
}

void TestPhonebookRead::unknownSelector()
{
    openLink();
    read(3);

    QVERIFY(m_report->messages.isEmpty());
    QCOMPARE(m_vars.RUBSEL, Rubrica::kNone);
    QVERIFY(m_list1->lines().isEmpty());
    QVERIFY(m_list2->lines().isEmpty());
    QVERIFY(m_phone->commands().isEmpty());
}

void TestPhonebookRead::hangUpMidRead()
{
    m_phone->entries = someEntries();
    m_phone->hangUpOn = "+CPBR=4";
    openLink();
    read(kSelectorSim);

    checkStoppedWithError(3);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!m_link->isOpen());
}

void TestPhonebookRead::silenceMidRead()
{
    m_phone->entries = someEntries();
    m_phone->silentOn.insert("+CPBR=4");
    openLink(kSilentDeadline);
    read(kSelectorSim);

    checkStoppedWithError(3);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_phone->commands().count("+CPBR=4"), 101);
    QVERIFY(!m_phone->commands().contains("+CPBR=5"));
}

void TestPhonebookRead::userEndsProgramBetweenPositions()
{
    m_phone->entries = someEntries();
    m_report->stopAfterSteps = 3;
    openLink();
    read(kSelectorSim);

    QCOMPARE(m_report->messages, QStringList{ReadMessage::kReadingSim});
    QCOMPARE(m_vars.RUBSEL, Rubrica::kNone);
    QCOMPARE(m_list1->lines(), expectedLines(3, {9, 14, 20}, true));
    QCOMPARE(m_phone->commands().last(), QStringLiteral("+CPBR=3"));
}

void TestPhonebookRead::userEndsProgramDuringTransaction()
{
    m_phone->entries = someEntries();
    m_phone->silentOn.insert("+CPBR=4");
    openLink();
    connect(m_link.get(), &PhoneLink::frameSent, this, [this](const QByteArray &frame) {
        if (frame == "AT+CPBR=4\r")
            QTimer::singleShot(20, m_link.get(), &PhoneLink::cancel);
    });
    read(kSelectorSim);

    QCOMPARE(m_report->messages, QStringList{ReadMessage::kReadingSim});
    QCOMPARE(m_vars.RUBSEL, Rubrica::kNone);
    QCOMPARE(m_list1->rowCount(), 3);
    QVERIFY(m_link->isOpen());
}

QTEST_MAIN(TestPhonebookRead)
#include "tst_phonebookread.moc"
