#include "entryedit.h"
#include "linkedphone.h"
#include "phonebookline.h"
#include "readlimits.h"
#include "recordingreport.h"

#include "phonebooklistmodel.h"
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

const PhonebookLine::Limits kLimits{kPositions, kTextLength, kNumberLength};

QString readLine(int position, const QString &name, const QString &number)
{
    return PhonebookLine::build(position, name, number, PhonebookLine::Layout::Read, kLimits);
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
    PhonebookRowModel m_List1;
    RecordingReport m_report;
};

void TestEntryEdit::init()
{
    m_phone = new LinkedPhone(kPositions, kTextLength, kNumberLength);
    m_phone->store(3, QStringLiteral("MARIO ROSSI"), QStringLiteral("0612345678"));
    QString why;
    QVERIFY2(m_phone->start(&why), qPrintable(why));
    m_list1Before.clear();
    for (int k = 1; k <= 5; ++k)
        m_list1Before.append(k == 3 ? readLine(3, "MARIO ROSSI", "0612345678")
                                    : PhonebookLine::emptySlot(k, PhonebookLine::Layout::Read, kLimits));
    m_List1.setRows(rowsWithoutFields(m_list1Before));
    m_report = RecordingReport();
}

void TestEntryEdit::cleanup()
{
    delete m_phone;
    m_phone = nullptr;
}

void TestEntryEdit::saveSendsTrimmedFieldsAndRewritesTheLine_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("stored");

    QTest::newRow("italian mobile, spaces trimmed")
        << "003/250 " << "  MARIO  BIANCHI " << " +393331234567 "
        << "+CPBW=3,\"+393331234567\",145,\"MARIO  BIANCHI\"" << 2 << "MARIO  BIANCHI|+393331234567|145";
    QTest::newRow("zeros dropped from the index")
        << "001/250 " << "ZURIGO" << "+41791234567"
        << "+CPBW=1,\"+41791234567\",129,\"ZURIGO\"" << 0 << "ZURIGO|+41791234567|129";
    QTest::newRow("empty name, 0039 is national")
        << "005/250 " << "" << "00393331234567"
        << "+CPBW=5,\"00393331234567\",129,\"\"" << 4 << "|00393331234567|129";
}

void TestEntryEdit::saveSendsTrimmedFieldsAndRewritesTheLine()
{
    QFETCH(QString, display);
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, command);
    QFETCH(int, row);
    QFETCH(QString, stored);

    QVERIFY(saveEntry(m_phone->link, readSim(), display, name, number, m_List1, m_report));
    const int position = row + 1;
    // The write, then the position read back.
    QCOMPARE(m_phone->commands(), (QStringList{command, QStringLiteral("+CPBR=%1").arg(position)}));
    QCOMPARE(m_phone->entries().value(position), stored);
    const QStringList fields = stored.split(QLatin1Char('|'));
    QStringList expected = m_list1Before;
    expected[row] = readLine(position, fields.at(0), fields.at(1));
    QCOMPARE(m_List1.lines(), expected);
    QCOMPARE(m_report.messages, (QStringList{kWriting, kDone}));
}

void TestEntryEdit::deleteBlanksTheLine()
{
    QVERIFY(deleteEntry(m_phone->link, readSim(), QStringLiteral("003/250 "), m_List1, m_report));
    QCOMPARE(m_phone->commands(), (QStringList{"+CPBW=3", "+CPBR=3"}));
    QVERIFY(m_phone->entries().isEmpty());
    QStringList expected = m_list1Before;
    expected[2] = PhonebookLine::emptySlot(3, PhonebookLine::Layout::Read, kLimits);
    QCOMPARE(m_List1.lines(), expected);
    QCOMPARE(m_report.messages, (QStringList{kWriting, kDone}));
}

void TestEntryEdit::refusedWithoutSelectionOrNumber_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("number");

    QTest::newRow("save, nothing selected") << true << "" << "0612";
    QTest::newRow("save, line end pasted into the number") << true << "003/250 " << "0612\rATZ";
    QTest::newRow("save, number box empty") << true << "003/250 " << "";
    QTest::newRow("delete, nothing selected") << false << "" << "";
}

void TestEntryEdit::refusedWithoutSelectionOrNumber()
{
    QFETCH(bool, save);
    QFETCH(QString, display);
    QFETCH(QString, number);
    const bool taken = save
        ? saveEntry(m_phone->link, readSim(), display, QStringLiteral("X"), number, m_List1, m_report)
        : deleteEntry(m_phone->link, readSim(), display, m_List1, m_report);
    QVERIFY(!taken);
    QCOMPARE(m_report.messages, QStringList{kError});
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

    const QString display = QStringLiteral("003/250 ");
    const bool taken = save
        ? saveEntry(m_phone->link, readSim(), display, QStringLiteral("NUOVO"), QStringLiteral("0699"),
                    m_List1, m_report)
        : deleteEntry(m_phone->link, readSim(), display, m_List1, m_report);
    QVERIFY(!taken);
    // Ending the program is no failure to report.
    QCOMPARE(m_report.lastMessage(), fault == QLatin1String("cancel") ? kWriting : kFailed);
    QCOMPARE(m_List1.lines(), m_list1Before);
    QCOMPARE(m_phone->entries().value(3), QStringLiteral("MARIO ROSSI|0612345678|129"));
}

void TestEntryEdit::emptiedListWritesNothing()
{
    // Opening the port or loading a list file empties List1 but keeps the
    // selection, which may belong to another phonebook than the phone's.
    m_List1.clear();
    QVERIFY(!saveEntry(m_phone->link, readSim(), QStringLiteral("003/250 "), QStringLiteral("NUOVO"),
                       QStringLiteral("0699"), m_List1, m_report));
    QVERIFY(!deleteEntry(m_phone->link, readSim(), QStringLiteral("003/250 "), m_List1, m_report));
    QCOMPARE(m_phone->entries().value(3), QStringLiteral("MARIO ROSSI|0612345678|129"));
    QVERIFY(m_phone->commands().isEmpty());
    QCOMPARE(m_report.messages, (QStringList{"ERRORE", "ERRORE"}));
}

QTEST_GUILESS_MAIN(TestEntryEdit)
#include "tst_entryedit.moc"
