// The save and the delete of one entry on the simulated phone: what is
// sent, what the phone holds afterwards, and List1's line.
#include "entryedit.h"
#include "pairentries.h"
#include "readlimits.h"
#include "recordingreport.h"
#include "simlink.h"

#include <QTest>
#include <QTimer>

#include <memory>

namespace {
const QString kWriting = QStringLiteral("SCRITTURA IN CORSO");
const QString kDone = QStringLiteral("SCRITTURA COMPLETATA");
const QString kFailed = QStringLiteral("ERRORE GRAVE IN SCRITTURA");
const QString kError = QStringLiteral("ERRORE");

constexpr int kPositions = 250;
constexpr int kTextLength = 14;
constexpr int kNumberLength = 20;

FormVariables readSim()
{
    return afterSimRead(kPositions, kTextLength, kNumberLength);
}

const SimEntry kMario{"0612345678", 129, "MARIO ROSSI"};

// Positions 1 to 5 as read, MARIO ROSSI at 3.
const PhonebookEntries kRead = pairEntries({"", "", "MARIO ROSSI|0612345678", "", ""});

// kRead with the entry at position replaced by "name|number".
QStringList linesWith(int position, const QString &pair)
{
    PhonebookEntries entries = kRead;
    entries[position - 1] = pairEntries({pair}).first();
    entries[position - 1].position = position;
    PhonebookListModel list;
    list.setEntries(entries, PhonebookLine::Layout::Read, readSim().lineLimits());
    return list.lines();
}
}

class TestEntryEdit : public QObject {
    Q_OBJECT
private slots:
    void init();
    void saveWithoutAName();
    void refusedWithoutSelectionOrNumber_data();
    void refusedWithoutSelectionOrNumber();
    void phoneRefusingLeavesTheLine_data();
    void phoneRefusingLeavesTheLine();
    void setSwitchedOnlyWhereBytesDiffer_data();
    void setSwitchedOnlyWhereBytesDiffer();

private:
    std::unique_ptr<SimLink> m_sim;
    QStringList m_list1Before;
    PhonebookListModel m_List1;
    RecordingReport m_report;
};

void TestEntryEdit::init()
{
    m_sim = std::make_unique<SimLink>();
    SimPhonebook sim;
    sim.last = kPositions;
    sim.textLength = kTextLength;
    sim.numberLength = kNumberLength;
    sim.entries.insert(3, kMario);
    m_sim->phone.setPhonebooks({{SimStorage::Sim, sim}});
    QString why;
    QVERIFY2(m_sim->start(&why), qPrintable(why));
    m_List1.setEntries(kRead, PhonebookLine::Layout::Read, readSim().lineLimits());
    m_list1Before = m_List1.lines();
    m_report = RecordingReport();
}

// The number is trimmed of its spaces, the empty name sent as it is.
void TestEntryEdit::saveWithoutAName()
{
    const Outcome outcome = saveEntry(m_sim->link, readSim(), 1, QString(), QStringLiteral(" 00393331234567 "),
                                      m_List1, m_report);
    QVERIFY(outcome.done);
    QCOMPARE(outcome.message, kDone);
    // The write, then the position read back.
    QCOMPARE(m_sim->commands(), (QStringList{"+CPBW=1,\"00393331234567\",129,\"\"", "+CPBR=1"}));
    QCOMPARE(m_sim->phone.phonebook(SimStorage::Sim),
             (QMap<int, SimEntry>{{1, {"00393331234567", 129, ""}}, {3, kMario}}));
    QCOMPARE(m_List1.lines(), linesWith(1, QStringLiteral("|00393331234567")));
    QCOMPARE(m_report.messages, QStringList{kWriting});
}

void TestEntryEdit::refusedWithoutSelectionOrNumber_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("number");

    QTest::newRow("save, nothing selected") << true << 0 << "0612";
    QTest::newRow("save, line end pasted into the number") << true << 3 << "0612\rATZ";
    QTest::newRow("save, number box empty") << true << 3 << "";
    QTest::newRow("delete, nothing selected") << false << 0 << "";
    QTest::newRow("delete, past the list") << false << 6 << "";
}

void TestEntryEdit::refusedWithoutSelectionOrNumber()
{
    QFETCH(bool, save);
    QFETCH(int, position);
    QFETCH(QString, number);
    const Outcome outcome = save
        ? saveEntry(m_sim->link, readSim(), position, QStringLiteral("X"), number, m_List1, m_report)
        : deleteEntry(m_sim->link, position, m_List1, m_report);
    QVERIFY(!outcome.done);
    QCOMPARE(outcome.message, kError);
    QVERIFY(m_sim->commands().isEmpty());
    QCOMPARE(m_List1.lines(), m_list1Before);
}

void TestEntryEdit::phoneRefusingLeavesTheLine_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("fault");

    QTest::newRow("save refused") << true << "refuse";
    QTest::newRow("delete refused") << false << "refuse";
    QTest::newRow("save, port closed") << true << "closed";
    QTest::newRow("delete, port closed") << false << "closed";
    QTest::newRow("save, line dropped") << true << "hangup";
    QTest::newRow("delete, line dropped") << false << "hangup";
    QTest::newRow("save, program ending") << true << "cancel";
    QTest::newRow("delete, program ending") << false << "cancel";
}

void TestEntryEdit::phoneRefusingLeavesTheLine()
{
    QFETCH(bool, save);
    QFETCH(QString, fault);
    const QStringList write{"+CPBW=3"};
    if (fault == QLatin1String("refuse")) {
        m_sim->phone.setRefusal(write);
    } else if (fault == QLatin1String("closed")) {
        m_sim->link.close();
    } else {
        // The write goes unanswered: the line drops, or the user ends the
        // program while the link waits.
        m_sim->phone.setSilence(write);
        if (fault == QLatin1String("hangup"))
            m_sim->phone.setHangUpAfter(1);
        else
            connect(&m_sim->link, &PhoneLink::frameSent, this,
                    [this] { QTimer::singleShot(20, &m_sim->link, &PhoneLink::cancel); });
    }

    const Outcome outcome = save
        ? saveEntry(m_sim->link, readSim(), 3, QStringLiteral("NUOVO"), QStringLiteral("0699"), m_List1, m_report)
        : deleteEntry(m_sim->link, 3, m_List1, m_report);
    QVERIFY(!outcome.done);
    // Ending the program is no failure to report.
    QCOMPARE(outcome.message, fault == QLatin1String("cancel") ? QString() : kFailed);
    QCOMPARE(m_List1.lines(), m_list1Before);
    QCOMPARE(m_sim->phone.phonebook(SimStorage::Sim), (QMap<int, SimEntry>{{3, kMario}}));
}

void TestEntryEdit::setSwitchedOnlyWhereBytesDiffer_data()
{
    QTest::addColumn<QString>("powerOn");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("commands");

    // Moved to 8859-1, its home set IRA: an ASCII name is the same bytes in
    // both, an accented one only 8859-1 carries.
    const QStringList iraAndLatin1{"IRA", "8859-1"};
    QTest::newRow("IRA phone in 8859-1, ASCII name")
        << "IRA" << iraAndLatin1 << "MARIO BIANCHI"
        << QStringList{"+CPBW=3,\"0612345678\",129,\"MARIO BIANCHI\"", "+CPBR=3"};
    QTest::newRow("IRA phone in 8859-1, accented name")
        << "IRA" << iraAndLatin1 << QStringLiteral("Città")
        << QStringList{QStringLiteral("+CPBW=3,\"0612345678\",129,\"Città\""), "+CPBR=3"};
    // Moved to UCS2, its home set GSM: the name goes in GSM, the read-back
    // in UCS2.
    QTest::newRow("GSM phone in UCS2, ASCII name")
        << "GSM" << SimOptions().charsets << "MARIO BIANCHI"
        << QStringList{"+CSCS=\"GSM\"", "+CPBW=3,\"0612345678\",129,\"MARIO BIANCHI\"", "+CSCS=\"UCS2\"",
                       "+CPBR=3"};
}

void TestEntryEdit::setSwitchedOnlyWhereBytesDiffer()
{
    QFETCH(QString, powerOn);
    QFETCH(QStringList, offered);
    QFETCH(QString, name);
    QFETCH(QStringList, commands);
    SimLink sim(powerOn);
    SimOptions options;
    options.charsets = offered;
    sim.phone.setOptions(options);
    sim.phone.setPhonebooks(m_sim->phone.phonebooks());
    QString why;
    QVERIFY2(sim.start(&why), qPrintable(why));

    const Outcome outcome = saveEntry(sim.link, readSim(), 3, name, QStringLiteral("0612345678"), m_List1, m_report);
    QCOMPARE(outcome.message, kDone);
    QCOMPARE(sim.commands(), commands);
    QCOMPARE(sim.phone.phonebook(SimStorage::Sim).value(3).text, name);
}

QTEST_GUILESS_MAIN(TestEntryEdit)
#include "tst_entryedit.moc"
