// SPDX-License-Identifier: GPL-3.0-or-later
// The save and the delete of one entry on the simulated phone: what is
// sent, what the phone holds afterwards, and what List1's line is to show.
#include "entryedit.h"
#include "pairentries.h"
#include "readlimits.h"
#include "recordingreport.h"
#include "simlink.h"

#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(EntryEdit::End)

namespace {
using End = EntryEdit::End;

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
    m_report = RecordingReport();
}

// The number is trimmed of its spaces, the empty name sent as it is.
void TestEntryEdit::saveWithoutAName()
{
    const EntryEdit edit = saveEntry(m_sim->link, readSim(), kRead, 1, QString(),
                                     QStringLiteral(" 00393331234567 "), m_report);
    QCOMPARE(edit.end, End::Done);
    // The write, then the position read back.
    QCOMPARE(m_sim->commands(), (QStringList{"+CPBW=1,\"00393331234567\",129,\"\"", "+CPBR=1"}));
    QCOMPARE(m_sim->phone.phonebook(SimStorage::Sim),
             (QMap<int, SimEntry>{{1, {"00393331234567", 129, ""}}, {3, kMario}}));
    PhonebookEntry held = pairEntries({QStringLiteral("|00393331234567")}).first();
    held.position = 1;
    QCOMPARE(edit.held, held);
    QCOMPARE(m_report.stages, QList<Stage>{Stage::WritingEntry});
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
    const EntryEdit edit = save
        ? saveEntry(m_sim->link, readSim(), kRead, position, QStringLiteral("X"), number, m_report)
        : deleteEntry(m_sim->link, kRead, position, m_report);
    QCOMPARE(edit.end, End::Refused);
    QVERIFY(!edit.held);
    QVERIFY(m_sim->commands().isEmpty());
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
            connect(&m_sim->link, &PhoneLink::frameSent, this, [this] { m_sim->link.cancel(); });
    }

    const EntryEdit edit = save
        ? saveEntry(m_sim->link, readSim(), kRead, 3, QStringLiteral("NUOVO"), QStringLiteral("0699"), m_report)
        : deleteEntry(m_sim->link, kRead, 3, m_report);
    // Ending the program is no failure to report.
    QCOMPARE(edit.end, fault == QLatin1String("cancel") ? End::Stopped : End::Failed);
    QVERIFY(!edit.held);
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

    QCOMPARE(saveEntry(sim.link, readSim(), kRead, 3, name, QStringLiteral("0612345678"), m_report).end, End::Done);
    QCOMPARE(sim.commands(), commands);
    QCOMPARE(sim.phone.phonebook(SimStorage::Sim).value(3).text, name);
}

QTEST_GUILESS_MAIN(TestEntryEdit)
#include "tst_entryedit.moc"
