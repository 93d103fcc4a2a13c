// SPDX-License-Identifier: GPL-3.0-or-later
#include "pairentries.h"
#include "phonebooksort.h"
#include "recordingreport.h"
#include "sortedlistedit.h"

#include <QTest>

#include <algorithm>

Q_DECLARE_METATYPE(PhonebookEntries)
Q_DECLARE_METATYPE(PhonebookLimits)

namespace {

const PhonebookLimits kSim{250, 14, 20};

bool numberedFromOne(const PhonebookEntries &entries)
{
    for (int row = 0; row < entries.size(); ++row) {
        if (entries.at(row).position != row + 1)
            return false;
    }
    return true;
}

// A loaded list file's line that held no entry.
PhonebookEntries withUnreadLine(PhonebookEntries entries)
{
    PhonebookEntry unread;
    unread.unread = true;
    unread.loadedLine = QStringLiteral("note a mano");
    entries.append(unread);
    return entries;
}

// A line drawn under another phonebook's limits, kept as it stood.
PhonebookEntries asDrawnElsewhere(PhonebookEntries entries)
{
    for (PhonebookEntry &entry : entries)
        entry.loadedLine = QStringLiteral("01/99 \u00C3  ") + entry.name + QStringLiteral(" \u00B3 ") + entry.number;
    return entries;
}

}

class TestSortedListEdit : public QObject {
    Q_OBJECT
private slots:
    void withoutRows_data();
    void withoutRows();
    void mergedIn_data();
    void mergedIn();
};

void TestSortedListEdit::withoutRows_data()
{
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QStringList>("left");

    const QStringList abcd{"A|1", "B|2", "C|3", "D|4"};
    QTest::newRow("one in the middle") << abcd << QList<int>{1} << QStringList{"A|1", "C|3", "D|4"};
    QTest::newRow("several, out of order and twice")
        << abcd << QList<int>{3, 0, 3} << QStringList{"B|2", "C|3"};
    QTest::newRow("rows not in the list passed over")
        << abcd << QList<int>{-1, 4, 2} << QStringList{"A|1", "B|2", "D|4"};
    QTest::newRow("every row") << abcd << QList<int>{0, 1, 2, 3} << QStringList{};
}

void TestSortedListEdit::withoutRows()
{
    QFETCH(QStringList, pairs);
    QFETCH(QList<int>, rows);
    QFETCH(QStringList, left);
    const PhonebookEntries result = SortedListEdit::withoutRows(pairEntries(pairs), rows);
    QCOMPARE(pairsOf(result), left);
    QVERIFY(numberedFromOne(result));
}

void TestSortedListEdit::mergedIn_data()
{
    QTest::addColumn<QStringList>("current");
    QTest::addColumn<PhonebookEntries>("loaded");
    QTest::addColumn<PhonebookLimits>("limits");
    QTest::addColumn<QStringList>("merged");
    QTest::addColumn<int>("skipped");

    QTest::newRow("sorted in between")
        << QStringList{"ANNA|1", "CARLO|3"} << pairEntries({"ZETA|9", "BRUNO|2", "ALBA|0"}) << kSim
        << QStringList{"ALBA|0", "ANNA|1", "BRUNO|2", "CARLO|3", "ZETA|9"} << 0;
    QTest::newRow("equal lines: the current one first")
        << QStringList{"MARIO|1", "mario|1"} << pairEntries({"Mario|1"}) << kSim
        << QStringList{"MARIO|1", "mario|1", "Mario|1"} << 0;
    QTest::newRow("one name: by number")
        << QStringList{"MARIO|2"} << pairEntries({"MARIO|3", "MARIO|1"}) << kSim
        << QStringList{"MARIO|1", "MARIO|2", "MARIO|3"} << 0;
    QTest::newRow("a current list out of order keeps its order")
        << QStringList{"ZETA|1", "ANNA|2"} << pairEntries({"BRUNO|3"}) << kSim
        << QStringList{"BRUNO|3", "ZETA|1", "ANNA|2"} << 0;
    QTest::newRow("names cut to the name field")
        << QStringList{"ALESS|3"} << pairEntries({"ALESSANDRO|2"}) << PhonebookLimits{250, 5, 20}
        << QStringList{"ALESS|2", "ALESS|3"} << 0;
    QTest::newRow("numbers too long for the field skipped")
        << QStringList{"ANNA|1"} << pairEntries({"BRUNO|12345", "CARLO|1234"}) << PhonebookLimits{250, 14, 4}
        << QStringList{"ANNA|1", "CARLO|1234"} << 1;
    QTest::newRow("lines of the file that hold no entry skipped")
        << QStringList{"ANNA|1"} << withUnreadLine(pairEntries({"BRUNO|2", ""})) << kSim
        << QStringList{"ANNA|1", "BRUNO|2"} << 2;
    QTest::newRow("lines drawn under other limits drawn anew")
        << QStringList{"ANNA|1"} << asDrawnElsewhere(pairEntries({"BRUNO|2"})) << kSim
        << QStringList{"ANNA|1", "BRUNO|2"} << 0;
    QTest::newRow("into an empty list") << QStringList{} << pairEntries({"B|2", "A|1"}) << kSim
                                        << QStringList{"A|1", "B|2"} << 0;
    QTest::newRow("nothing loaded") << QStringList{"A|1"} << PhonebookEntries{} << kSim << QStringList{"A|1"} << 0;
}

void TestSortedListEdit::mergedIn()
{
    QFETCH(QStringList, current);
    QFETCH(PhonebookEntries, loaded);
    QFETCH(PhonebookLimits, limits);
    QFETCH(QStringList, merged);
    QFETCH(int, skipped);

    // As the window adds a list: what the phonebook takes of it, sorted as
    // a read is sorted, then put among List2's entries.
    const SortedListEdit::Fitted fitted = SortedListEdit::fitted(loaded, limits);
    RecordingReport report;
    const std::optional<PhonebookEntries> additions = sortedEntries(fitted.entries, limits, report);
    QVERIFY(additions);
    const PhonebookEntries result = SortedListEdit::mergedIn(pairEntries(current), *additions, limits);

    QCOMPARE(pairsOf(result), merged);
    QCOMPARE(fitted.skipped, skipped);
    QVERIFY(numberedFromOne(result));
    QVERIFY(std::none_of(result.cbegin(), result.cend(), [](const PhonebookEntry &e) { return e.loadedLine; }));
}

QTEST_GUILESS_MAIN(TestSortedListEdit)
#include "tst_sortedlistedit.moc"
