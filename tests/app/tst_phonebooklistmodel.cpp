// SPDX-License-Identifier: GPL-3.0-or-later
#include "pairentries.h"
#include "phonebooklistmodel.h"

#include <QSignalSpy>
#include <QTest>

using PhonebookLine::Layout;

namespace {
const UsimFields kFamily{"1", "FAMIGLIA", "393471112233", "145", "", "", "", "", ""};
const PhonebookLimits kLimits{9, 4, 3};
const QString kPos = QString(QChar(0x00C3));
const QString kField = QString(QChar(0x00B3));
}

class TestPhonebookListModel : public QObject {
    Q_OBJECT
private slots:
    void linesDrawnInTheListsLayout();
    void outsideRows_data();
    void outsideRows();
    void clearKeepsLayoutAndLimits();
};

void TestPhonebookListModel::linesDrawnInTheListsLayout()
{
    PhonebookListModel list;
    list.setEntries({}, Layout::Read, kLimits);
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    for (PhonebookEntry entry : pairEntries({"BEA|1", "ADA|2", ""})) {
        if (entry.position == 1)
            entry.fields = kFamily;
        list.appendEntry(entry);
    }
    QCOMPARE(list.rowCount(), 3);
    QCOMPARE(list.lines(), (QStringList{"1/9 " + kPos + " BEA  " + kField + " 1  ",
                                        "2/9 " + kPos + " ADA  " + kField + " 2  ",
                                        "3/9 " + kPos + "      " + kField + "    "}));
    // A view sees each entry as it comes, and only its line.
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(list.data(list.index(0)).toString(), list.lines().at(0));
    QVERIFY(!list.data(list.index(0), Qt::UserRole).isValid());

    // An entry replaced takes the fields it is given, not those it had.
    PhonebookEntry replacement = pairEntries({"CIRO|3"}).first();
    QVERIFY(list.replaceEntry(0, replacement));
    QCOMPARE(*list.entry(0), replacement);
    QCOMPARE(list.rowCount(), 3);

    list.setEntries(list.entries(), Layout::Sorted, {99, 2, 1});
    QCOMPARE(list.lines().at(1), "02/99 " + kPos + "  AD " + kField + " 2");
}

void TestPhonebookListModel::outsideRows_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the end") << 2;
    QTest::newRow("far past the end") << 1000;
}

void TestPhonebookListModel::outsideRows()
{
    QFETCH(int, row);
    PhonebookListModel list;
    list.setEntries(pairEntries({"X|1", "Y|2"}), Layout::Read, kLimits);
    const QStringList before = list.lines();
    QVERIFY(!list.replaceEntry(row, pairEntries({"Z|3"}).first()));
    QCOMPARE(list.lines(), before);
    QVERIFY(!list.entry(row));
    QVERIFY(!list.data(list.index(row)).isValid());
}

void TestPhonebookListModel::clearKeepsLayoutAndLimits()
{
    PhonebookListModel list;
    list.setEntries(pairEntries({"X|1", "Y|2"}), Layout::Sorted, kLimits);
    list.clear();
    QCOMPARE(list.rowCount(), 0);
    list.appendEntry(pairEntries({"Z|3"}).first());
    QCOMPARE(list.lines(), QStringList{"1/9 " + kPos + "  Z    " + kField + " 3  "});
}

QTEST_APPLESS_MAIN(TestPhonebookListModel)
#include "tst_phonebooklistmodel.moc"
