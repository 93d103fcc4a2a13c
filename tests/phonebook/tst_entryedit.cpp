#include "entryedit.h"
#include "linkedphone.h"
#include "pairentries.h"
#include "readlimits.h"
#include "recordingreport.h"

#include <QTest>

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
    void cleanup();
    void saveSendsTrimmedFieldsAndRewritesTheLine_data();
    void saveSendsTrimmedFieldsAndRewritesTheLine();
    void deleteBlanksTheLine();
    void refusedWithoutSelectionOrNumber_data();
    void refusedWithoutSelectionOrNumber();
    void phoneRefusingLeavesTheLine_data();
    void phoneRefusingLeavesTheLine();
    void emptiedListWritesNothing();

private:
    LinkedPhone *m_phone = nullptr;
    QStringList m_list1Before;
    PhonebookListModel m_List1;
    RecordingReport m_report;
};

void TestEntryEdit::init()
{
    m_phone = new LinkedPhone(kPositions, kTextLength, kNumberLength);
    m_phone->store(3, QStringLiteral("MARIO ROSSI"), QStringLiteral("0612345678"));
    QString why;
    QVERIFY2(m_phone->start(&why), qPrintable(why));
    m_List1.setEntries(kRead, PhonebookLine::Layout::Read, readSim().lineLimits());
    m_list1Before = m_List1.lines();
    m_report = RecordingReport();
}

void TestEntryEdit::cleanup()
{
    delete m_phone;
    m_phone = nullptr;
}

void TestEntryEdit::saveSendsTrimmedFieldsAndRewritesTheLine_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("stored");

    QTest::newRow("italian mobile, spaces trimmed")
        << 3 << "  MARIO  BIANCHI " << " +393331234567 "
        << "+CPBW=3,\"+393331234567\",145,\"MARIO  BIANCHI\"" << "MARIO  BIANCHI|+393331234567|145";
    QTest::newRow("an empty position, the first")
        << 1 << "ZURIGO" << "+41791234567"
        << "+CPBW=1,\"+41791234567\",145,\"ZURIGO\"" << "ZURIGO|+41791234567|145";
    QTest::newRow("empty name, 0039 is national")
        << 5 << "" << "00393331234567"
        << "+CPBW=5,\"00393331234567\",129,\"\"" << "|00393331234567|129";
}

void TestEntryEdit::saveSendsTrimmedFieldsAndRewritesTheLine()
{
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, command);
    QFETCH(QString, stored);

    const Outcome outcome = saveEntry(m_phone->link, readSim(), position, name, number, m_List1, m_report);
    QVERIFY(outcome.done);
    QCOMPARE(outcome.message, kDone);
    // The write, then the position read back.
    QCOMPARE(m_phone->commands(), (QStringList{command, QStringLiteral("+CPBR=%1").arg(position)}));
    QCOMPARE(m_phone->entries().value(position), stored);
    QCOMPARE(m_List1.lines(), linesWith(position, stored.section(QLatin1Char('|'), 0, 1)));
    QCOMPARE(m_report.messages, QStringList{kWriting});
}

void TestEntryEdit::deleteBlanksTheLine()
{
    const Outcome outcome = deleteEntry(m_phone->link, 3, m_List1, m_report);
    QVERIFY(outcome.done);
    QCOMPARE(outcome.message, kDone);
    QCOMPARE(m_phone->commands(), (QStringList{"+CPBW=3", "+CPBR=3"}));
    QVERIFY(m_phone->entries().isEmpty());
    QCOMPARE(m_List1.lines(), linesWith(3, QString()));
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
        ? saveEntry(m_phone->link, readSim(), position, QStringLiteral("X"), number, m_List1, m_report)
        : deleteEntry(m_phone->link, position, m_List1, m_report);
    QVERIFY(!outcome.done);
    QCOMPARE(outcome.message, kError);
    QVERIFY(m_phone->commands().isEmpty());
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
    if (fault == QLatin1String("refuse"))
        m_phone->refuse(QStringLiteral("+CPBW=3"));
    else if (fault == QLatin1String("closed"))
        m_phone->link.close();
    else if (fault == QLatin1String("hangup"))
        m_phone->hangUpAfter(0);
    else
        m_phone->cancelOn(QStringLiteral("+CPBW=3"));

    const Outcome outcome = save
        ? saveEntry(m_phone->link, readSim(), 3, QStringLiteral("NUOVO"), QStringLiteral("0699"), m_List1, m_report)
        : deleteEntry(m_phone->link, 3, m_List1, m_report);
    QVERIFY(!outcome.done);
    // Ending the program is no failure to report.
    QCOMPARE(outcome.message, fault == QLatin1String("cancel") ? QString() : kFailed);
    QCOMPARE(m_List1.lines(), m_list1Before);
    QCOMPARE(m_phone->entries().value(3), QStringLiteral("MARIO ROSSI|0612345678|129"));
}

void TestEntryEdit::emptiedListWritesNothing()
{
    // Opening the port or loading a list file empties List1 but keeps the
    // selection, which may belong to another phonebook than the phone's.
    m_List1.clear();
    const Outcome saved = saveEntry(m_phone->link, readSim(), 3, QStringLiteral("NUOVO"), QStringLiteral("0699"),
                                    m_List1, m_report);
    const Outcome deleted = deleteEntry(m_phone->link, 3, m_List1, m_report);
    QVERIFY(!saved.done && !deleted.done);
    QCOMPARE(m_phone->entries().value(3), QStringLiteral("MARIO ROSSI|0612345678|129"));
    QVERIFY(m_phone->commands().isEmpty());
    QCOMPARE(saved.message, kError);
    QCOMPARE(deleted.message, kError);
}

QTEST_GUILESS_MAIN(TestEntryEdit)
#include "tst_entryedit.moc"
