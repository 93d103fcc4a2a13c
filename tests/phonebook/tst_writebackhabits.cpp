// SPDX-License-Identifier: GPL-3.0-or-later
// The write-back on phones with the habits met in the field: what reaches
// the phone, what it holds afterwards and how the write-back ends.
#include "pairentries.h"
#include "phonebookread.h"
#include "phonebooksort.h"
#include "phonebookwriteback.h"
#include "readlimits.h"
#include "recordingreport.h"
#include "simlink.h"
#include "sortedlayout.h"

#include <QRegularExpression>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(SimOptions)
Q_DECLARE_METATYPE(SimPhonebook)
Q_DECLARE_METATYPE(WriteBack::End)

namespace {

constexpr int kTextLength = 14;
constexpr int kNumberLength = 20;

// Twelve positions, three of them held, to be overwritten or cleared.
SimPhonebook heldBefore()
{
    SimPhonebook book;
    book.last = 12;
    book.textLength = kTextLength;
    book.numberLength = kNumberLength;
    book.entries = {{2, {"0611", 129, "VECCHIO"}}, {7, {"+390622", 145, "ZIO"}}, {12, {"099", 129, "ULTIMO"}}};
    return book;
}

// List1 as a read of the book leaves it.
PhonebookEntries readOf(const SimPhonebook &book)
{
    PhonebookEntries entries;
    for (int k = 1; k <= book.last; ++k) {
        const SimEntry held = book.entries.value(k);
        entries.append(PhonebookEntry{k, held.number, 0, held.text, {}, false});
    }
    return entries;
}

// The book holding these entries at positions 1, 2, 3 ... and nothing else.
SimPhonebook holding(const SimPhonebook &book, const QMap<int, SimEntry> &entries)
{
    SimPhonebook after = book;
    after.entries = entries;
    return after;
}

const QStringList kFour = {"ALDO|+393331112222", "anna|0612345678", "ANNALISA|+41791234567", "|112"};
const QMap<int, SimEntry> kFourWritten{{1, {"+393331112222", 145, "ALDO"}}, {2, {"0612345678", 129, "anna"}},
                                       {3, {"+41791234567", 145, "ANNALISA"}}, {4, {"112", 129, ""}}};

} // namespace

class TestWriteBackHabits : public QObject {
    Q_OBJECT
private slots:
    void habitsMet_data();
    void habitsMet();
    void entryLongerThanDeclaredStaysWhole();
};

void TestWriteBackHabits::habitsMet_data()
{
    QTest::addColumn<QString>("charset");
    QTest::addColumn<SimOptions>("options");
    QTest::addColumn<SimPhonebook>("book");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<WriteBack::End>("end");
    // The rows to select in List1 and List2; -1 for none.
    QTest::addColumn<int>("list1Row");
    QTest::addColumn<int>("list2Row");
    // The commands that open the run, those after its last +CPBW, and how
    // many there are in all.
    QTest::addColumn<QStringList>("opening");
    QTest::addColumn<QStringList>("check");
    QTest::addColumn<int>("count");
    QTest::addColumn<SimPhonebook>("after");

    const QString latin1 = QStringLiteral("8859-1");
    const WriteBack::End done = WriteBack::End::Done;
    const SimPhonebook book = heldBefore();
    const QString aldo = QStringLiteral("+CPBW=1,\"+393331112222\",145,\"ALDO\"");

    SimOptions chatty;
    chatty.unsolicitedLines = {"^RSSI:14", "^BOOT:1234,0,0,0,72", "^MODE: 2\r", "+CREG: 1"};
    QTest::newRow("vendor codes inside every answer")
        << latin1 << chatty << book << kFour << done << -1 << -1 << QStringList{aldo}
        << QStringList{"+CPBR=1,12", "+CPBR=5,12"} << 14 << holding(book, kFourWritten);

    // Read on from past the fourth entry, the check finds what the clears
    // left at 7 and 12.
    SimOptions cutAndIgnored;
    cutAndIgnored.rangeReadCut = 4;
    cutAndIgnored.ignoredClears = true;
    QMap<int, SimEntry> stale = kFourWritten;
    stale.insert(7, book.entries.value(7));
    stale.insert(12, book.entries.value(12));
    QTest::newRow("range answers cut, clears answered but not carried out")
        << latin1 << cutAndIgnored << book << kFour << WriteBack::End::Differs << 6 << -1 << QStringList{aldo}
        << QStringList{"+CPBR=1,12", "+CPBR=5,12", "+CPBR=7", "+CPBR=12"} << 16 << holding(book, stale);

    // Without +CMEE the phone's "not found" for the empty rest is a plain
    // error: its count of entries shows nothing left.
    SimOptions emptyRangeRefused;
    emptyRangeRefused.emptyPosition = SimOptions::EmptyPosition::NotFound;
    QTest::newRow("read on refused where nothing is left: settled by the count")
        << latin1 << emptyRangeRefused << book << kFour << done << -1 << -1 << QStringList{aldo}
        << QStringList{"+CPBR=1,12", "+CPBR=5,12", "+CPBS?"} << 15 << holding(book, kFourWritten);

    // The bytes of an ASCII or Latin name are the same in both sets.
    SimOptions iraAndLatin1;
    iraAndLatin1.charsets = {"IRA", "8859-1"};
    QTest::newRow("moved from IRA to 8859-1: no set switched")
        << "IRA" << iraAndLatin1 << book << QStringList{"ALDO|0611", QStringLiteral("Città|0622")} << done << -1 << -1
        << QStringList{"+CPBW=1,\"0611\",129,\"ALDO\"", QStringLiteral("+CPBW=2,\"0622\",129,\"Città\"")}
        << QStringList{"+CPBR=1,12", "+CPBR=3,12"} << 14
        << holding(book, {{1, {"0611", 129, "ALDO"}}, {2, {"0622", 129, QStringLiteral("Città")}}});

    // GSM at power-on, moved to UCS2: "上海/m" travels in UCS2 alone, and is
    // tried at position 1, which the read found empty.
    const QStringList shanghai = {"ALDO|0611", QStringLiteral("上海/m|0621")};
    const QString triedThere = QStringLiteral("+CPBW=1,\"0621\",129,\"4E0A6D77002F006D\"");
    const QStringList trial = {triedThere, "+CPBR=1", "+CPBW=1", "+CPBR=1"};
    QTest::newRow("name only UCS2 carries, kept whole: tried, then written")
        << "GSM" << SimOptions() << book << shanghai << done << -1 << -1
        << trial + QStringList{"+CSCS=\"GSM\"", "+CPBW=1,\"0611\",129,\"ALDO\"", "+CSCS=\"UCS2\"",
                               "+CPBW=2,\"0621\",129,\"4E0A6D77002F006D\""}
        << QStringList{"+CPBR=1,12", "+CPBR=3,12"} << 20
        << holding(book, {{1, {"0611", 129, "ALDO"}}, {2, {"0621", 129, QStringLiteral("上海/m")}}});
    SimOptions hex;
    hex.ucs2WriteKeepsHex = true;
    QTest::newRow("name only UCS2 carries, kept as its hex digits: refused before any write")
        << "GSM" << hex << book << shanghai << WriteBack::End::InvalidList << -1 << 1 << trial << QStringList{"+CPBR=1"}
        << 4 << book;
    SimOptions quarter;
    quarter.ucs2NameInQuarterField = true;
    QTest::newRow("name only UCS2 carries, refused by the phone: refused before any write")
        << "GSM" << quarter << book << QStringList{"ALDO|0611", QStringLiteral("Łódź|0621")} << WriteBack::End::InvalidList
        << -1 << 1 << QStringList{"+CPBW=1,\"0621\",129,\"014100F30064017A\""} << QStringList() << 1 << book;
    // Without an empty position nothing is tried; the check finds it.
    SimPhonebook full = book;
    full.last = 2;
    full.entries = {{1, {"0611", 129, "VECCHIO"}}, {2, {"0622", 129, "NONNA"}}};
    QTest::newRow("name kept as its hex digits, no empty position: found by the check")
        << "GSM" << hex << full << shanghai << WriteBack::End::Differs << 1 << -1
        << QStringList{"+CSCS=\"GSM\"", "+CPBW=1,\"0611\",129,\"ALDO\"", "+CSCS=\"UCS2\"",
                       "+CPBW=2,\"0621\",129,\"4E0A6D77002F006D\""}
        << QStringList{"+CPBR=1,2", "+CPBR=2"} << 6
        << holding(full, {{1, {"0611", 129, "ALDO"}}, {2, {"0621", 129, "4E0A6D77002F00"}}});
}

void TestWriteBackHabits::habitsMet()
{
    QFETCH(QString, charset);
    QFETCH(SimOptions, options);
    QFETCH(SimPhonebook, book);
    QFETCH(QStringList, list);
    QFETCH(WriteBack::End, end);
    QFETCH(int, list1Row);
    QFETCH(int, list2Row);
    QFETCH(QStringList, opening);
    QFETCH(QStringList, check);
    QFETCH(int, count);
    QFETCH(SimPhonebook, after);

    SimLink sim(charset);
    sim.phone.setOptions(options);
    sim.phone.setPhonebooks({{SimStorage::Sim, book}});
    QString why;
    QVERIFY2(sim.start(&why), qPrintable(why));
    const FormVariables vars = afterSimRead(book.last, kTextLength, kNumberLength);
    RecordingReport report;

    const WriteBack result = writeSortedPhonebook(sim.link, vars, pairEntries(list), readOf(book), report);
    QCOMPARE(result.end, end);
    QCOMPARE(result.phoneRow.value_or(-1), list1Row);
    QCOMPARE(result.listRow.value_or(-1), list2Row);
    const QStringList sent = sim.commands();
    QCOMPARE(sent.mid(0, opening.size()), opening);
    QCOMPARE(sent.mid(sent.lastIndexOf(QRegularExpression(QStringLiteral("\\+CPBW=.*"))) + 1), check);
    QCOMPARE(sent.size(), count);
    QCOMPARE(sim.phone.phonebook(SimStorage::Sim), after.entries);
}

// A phone that declares 20 digits and 14 characters but holds more: the
// entry stays whole through the read, the sort and the backup's entries;
// only the drawn line is cut. The write-back, which the phone would refuse,
// refuses the list before the first write.
void TestWriteBackHabits::entryLongerThanDeclaredStaysWhole()
{
    const QString name = QStringLiteral("Zanardi Giovanni Battista");
    const QString number = QStringLiteral("0039061234567890123456");
    SimLink sim;
    SimOptions declared;
    declared.declaredNumberLength = kNumberLength;
    declared.declaredTextLength = kTextLength;
    sim.phone.setOptions(declared);
    SimPhonebook book;
    book.last = 10;
    book.numberLength = 30;
    book.textLength = 30;
    book.entries = {{3, {number, 129, name}}, {5, {"0611", 129, "ALDO"}}};
    sim.phone.setPhonebooks({{SimStorage::Sim, book}});
    QString why;
    QVERIFY2(sim.start(&why), qPrintable(why));

    RecordingReport report;
    const PhonebookRead read = LegRub(kSelectorSim, sim.link, FormVariables(), report);
    QCOMPARE(read.end, PhonebookRead::End::Done);
    const FormVariables &vars = read.vars;
    QCOMPARE(vars.limits.MAXCARNOM, kTextLength);
    QCOMPARE(vars.limits.MAXCARNUM, kNumberLength);
    QCOMPARE(read.entries.at(2).name, name);
    QCOMPARE(read.entries.at(2).number, number);
    QVERIFY(PhonebookLine::draw(read.entries.at(2), PhonebookLine::Layout::Read, vars.limits)
                .endsWith(QStringLiteral("Zanardi Giovan \u00B3 00390612345678901234")));

    const PhonebookEntries List2 = *sortedPhonebook(read.entries, vars.limits, report);
    QCOMPARE(pairsOf(List2), (QStringList{"ALDO|0611", name + '|' + number}));
    QCOMPARE(pairsOf(SortedLayout::inPhoneOrder(read.entries, vars.limits)),
             (QStringList{name + '|' + number, "ALDO|0611"}));

    sim.phone.clearCommands();
    const WriteBack result = writeSortedPhonebook(sim.link, vars, List2, read.entries, report);
    QCOMPARE(result.end, WriteBack::End::InvalidList);
    QCOMPARE(result.listRow, 1);
    QVERIFY(sim.commands().isEmpty());
    QCOMPARE(sim.phone.phonebook(SimStorage::Sim), book.entries);
}

QTEST_GUILESS_MAIN(TestWriteBackHabits)
#include "tst_writebackhabits.moc"
