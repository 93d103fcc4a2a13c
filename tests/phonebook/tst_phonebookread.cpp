// The read as it goes when the phone answers as it should, or the user or
// the port ends it.
#include "windowtexts.h"
#include "phonebookread.h"
#include "phonebookreadrun.h"

#include <QTest>
#include <QTimer>

#include <memory>

class TestPhonebookRead : public QObject {
    Q_OBJECT
private slots:
    void init();

    void wholeRead_data();
    void wholeRead();
    void quotedSelection_data();
    void quotedSelection();
    void simBusyAtFirst();
    void closedPort();
    void unknownSelector();
    void userEndsProgramBetweenPositions();
    void userEndsProgramDuringTransaction();

private:
    void openLink(std::chrono::milliseconds deadline = kAnsweredDeadline);

    std::unique_ptr<PhonebookReadRun> m_run;
};

void TestPhonebookRead::init()
{
    m_run = std::make_unique<PhonebookReadRun>();
    QVERIFY(m_run->phone.start());
}

void TestPhonebookRead::openLink(std::chrono::milliseconds deadline)
{
    QString why;
    QVERIFY2(m_run->openLink(deadline, &why), qPrintable(why));
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

    m_run->phone.rangeAnswer = rangeAnswer;
    m_run->phone.highest = highest;
    if (withEntries)
        m_run->phone.entries = someEntries();
    openLink();
    m_run->read(selector);

    const bool sim = selector == kSelectorSim;
    QCOMPARE(m_run->report.messages, QStringList{sim ? WindowText::kReadingSim : WindowText::kReadingPhone});
    QCOMPARE(m_run->outcome.message, WindowText::kReadDone);
    QVERIFY(m_run->outcome.done);
    QCOMPARE(m_run->vars.RUBSEL(), sim ? Rubrica::kSim : Rubrica::kCellulare);
    QCOMPARE(m_run->vars.MAXNUMRUB, highest);
    QCOMPARE(int(m_run->vars.MAXCARNUM), maxCarNum);
    QCOMPARE(m_run->vars.MAXCARNOM, maxCarNom);

    // The window writes its counters from the new limits, once.
    QCOMPARE(m_run->limitsSeen.size(), 1);
    QCOMPARE(m_run->limitsSeen[0].MAXNUMRUB, highest);
    QCOMPARE(int(m_run->limitsSeen[0].MAXCARNUM), maxCarNum);
    QCOMPARE(m_run->limitsSeen[0].MAXCARNOM, maxCarNom);

    const PhonebookLine::Limits limits{highest, maxCarNom, maxCarNum};
    QCOMPARE(m_run->list1.lines(), expectedLines(highest, limits, withEntries));
    QVERIFY(m_run->list2.lines().isEmpty());

    QCOMPARE(m_run->report.maximums, QList<double>{double(highest)});
    QCOMPARE(m_run->report.values.size(), highest);
    for (int i = 0; i < highest; ++i)
        QCOMPARE(m_run->report.values[i], double(i + 1));

    const QStringList expectedCommands = QStringList{sim ? "+CPBS=SM" : "+CPBS=ME", "+CPBR=?"}
        + positionReads(1, highest);
    QCOMPARE(m_run->phone.commands(), expectedCommands);
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

    m_run->phone.wantsQuotes = true;
    m_run->phone.entries = someEntries();
    openLink();
    m_run->read(selector);

    QCOMPARE(m_run->outcome.message, WindowText::kReadDone);
    QCOMPARE(m_run->vars.RUBSEL(), rubsel);
    QCOMPARE(m_run->phone.commands().mid(0, 3), QStringList({unquoted, quoted, "+CPBR=?"}));
    QCOMPARE(m_run->list1.lines(), expectedLines(9, {9, 14, 20}, true));
}

// A SIM just powered on answers "busy" for a moment: asked again, it reads
// as usual, at the cost of the retries alone.
void TestPhonebookRead::simBusyAtFirst()
{
    m_run->phone.entries = someEntries();
    m_run->phone.simBusyAnswers = 2;
    openLink();
    m_run->read(kSelectorSim);

    QCOMPARE(m_run->report.messages, QStringList({WindowText::kSimBusy, WindowText::kReadingSim}));
    QCOMPARE(m_run->outcome.message, WindowText::kReadDone);
    QCOMPARE(m_run->vars.RUBSEL(), Rubrica::kSim);
    QCOMPARE(m_run->list1.lines(), expectedLines(9, {9, 14, 20}, true));
    QCOMPARE(m_run->phone.commands(), QStringList({"+CPBS=SM", "+CPBS=SM", "+CPBS=SM", "+CPBR=?"}) + positionReads(1, 9));
}

void TestPhonebookRead::closedPort()
{
    openLink();
    m_run->link->close();
    m_run->read(kSelectorSim);

    QVERIFY(m_run->report.messages.isEmpty());
    QCOMPARE(m_run->outcome.message, WindowText::kPortClosed);
    QCOMPARE(m_run->vars.RUBSEL(), Rubrica::kNone);
    QVERIFY(m_run->list1.lines().isEmpty());
    QVERIFY(m_run->list2.lines().isEmpty());
    QCOMPARE(m_run->vars.MAXNUMRUB, earlierRead().MAXNUMRUB);
    QVERIFY(m_run->limitsSeen.isEmpty());
    QVERIFY(m_run->phone.commands().isEmpty());
}

void TestPhonebookRead::unknownSelector()
{
    openLink();
    m_run->read(3);

    QVERIFY(m_run->report.messages.isEmpty());
    QVERIFY(m_run->outcome.message.isEmpty());
    QCOMPARE(m_run->vars.RUBSEL(), Rubrica::kNone);
    QVERIFY(m_run->list1.lines().isEmpty());
    QVERIFY(m_run->list2.lines().isEmpty());
    QVERIFY(m_run->phone.commands().isEmpty());
}

void TestPhonebookRead::userEndsProgramBetweenPositions()
{
    m_run->phone.entries = someEntries();
    m_run->report.stopAfterSteps = 3;
    openLink();
    m_run->read(kSelectorSim);

    QCOMPARE(m_run->report.messages, QStringList{WindowText::kReadingSim});
    QVERIFY(m_run->outcome.message.isEmpty());
    QCOMPARE(m_run->vars.RUBSEL(), Rubrica::kNone);
    QCOMPARE(m_run->list1.lines(), expectedLines(3, {9, 14, 20}, true));
    QCOMPARE(m_run->phone.commands().last(), QStringLiteral("+CPBR=3"));
}

void TestPhonebookRead::userEndsProgramDuringTransaction()
{
    m_run->phone.entries = someEntries();
    m_run->phone.silentOn.insert("+CPBR=4");
    openLink();
    connect(m_run->link.get(), &PhoneLink::frameSent, this, [this](const QByteArray &frame) {
        if (frame == "AT+CPBR=4\r")
            QTimer::singleShot(20, m_run->link.get(), &PhoneLink::cancel);
    });
    m_run->read(kSelectorSim);

    QCOMPARE(m_run->report.messages, QStringList{WindowText::kReadingSim});
    QVERIFY(m_run->outcome.message.isEmpty());
    QCOMPARE(m_run->vars.RUBSEL(), Rubrica::kNone);
    QCOMPARE(m_run->list1.rowCount(), 3);
    QVERIFY(m_run->link->isOpen());
}

QTEST_MAIN(TestPhonebookRead)
#include "tst_phonebookread.moc"
