#include "phonebooklistmodel.h"

#include <QSignalSpy>
#include <QTest>

namespace {
const UsimFields kFamily{"1", "FAMIGLIA", "393471112233", "145", "", "", "", "", ""};
}

class TestPhonebookRowModel : public QObject {
    Q_OBJECT
private slots:
    void appendKeepsOrder();
    void outsideIndices_data();
    void outsideIndices();
    void clearEmpties();
};

void TestPhonebookRowModel::appendKeepsOrder()
{
    PhonebookRowModel list;
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    list.appendRow({QStringLiteral("b"), kFamily});
    list.appendRow({QStringLiteral("a"), {}});
    list.appendRow({QString(), {}});
    QCOMPARE(list.rowCount(), 3);
    QCOMPARE(list.lines(), QStringList({"b", "a", ""}));
    // A view sees each line as it comes, and only the line.
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(list.data(list.index(0)).toString(), QStringLiteral("b"));
    QVERIFY(!list.data(list.index(0), Qt::UserRole).isValid());

    QVERIFY(list.replaceRow(1, {QStringLiteral("c"), kFamily}));
    QCOMPARE(list.lines(), QStringList({"b", "c", ""}));
    QCOMPARE(list.row(1)->fields, kFamily);
    // A row replaced takes the fields it is given, not those it had.
    QVERIFY(list.replaceRow(0, {QStringLiteral("d"), {}}));
    QVERIFY(list.row(0)->fields.isEmpty());
    QCOMPARE(list.rowCount(), 3);
}

void TestPhonebookRowModel::outsideIndices_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the end") << 2;
    QTest::newRow("far past the end") << 1000;
}

void TestPhonebookRowModel::outsideIndices()
{
    QFETCH(int, index);
    PhonebookRowModel list(rowsWithoutFields({"x", "y"}));
    QVERIFY(!list.replaceRow(index, {QStringLiteral("z"), kFamily}));
    QCOMPARE(list.lines(), QStringList({"x", "y"}));
    QVERIFY(!list.row(index));
}

void TestPhonebookRowModel::clearEmpties()
{
    PhonebookRowModel list(rowsWithoutFields({"x", "y"}));
    list.clear();
    QCOMPARE(list.rowCount(), 0);
    list.appendRow({QStringLiteral("z"), {}});
    QCOMPARE(list.lines(), QStringList({"z"}));
}

QTEST_APPLESS_MAIN(TestPhonebookRowModel)
#include "tst_phonebookrowmodel.moc"
