#include "linelist.h"

#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

class TestLineList : public QObject {
    Q_OBJECT
private slots:
    void appendKeepsOrder();
    void outsideIndices_data();
    void outsideIndices();
    void clearEmpties();
};

void TestLineList::appendKeepsOrder()
{
    QStringListModel list;
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    LineList::appendLine(list, QStringLiteral("b"));
    LineList::appendLine(list, QStringLiteral("a"));
    LineList::appendLine(list, QString());
    QCOMPARE(list.rowCount(), 3);
    QCOMPARE(list.stringList(), QStringList({"b", "a", ""}));
    // A view sees each line as it comes.
    QCOMPARE(inserted.count(), 3);

    LineList::replaceLine(list, 1, QStringLiteral("c"));
    QCOMPARE(list.stringList(), QStringList({"b", "c", ""}));
    QCOMPARE(list.rowCount(), 3);
}

void TestLineList::outsideIndices_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the end") << 2;
    QTest::newRow("far past the end") << 1000;
}

void TestLineList::outsideIndices()
{
    QFETCH(int, index);
    QStringListModel list(QStringList{"x", "y"});
    LineList::replaceLine(list, index, QStringLiteral("z"));
    QCOMPARE(list.stringList(), QStringList({"x", "y"}));
}

void TestLineList::clearEmpties()
{
    QStringListModel list(QStringList{"x", "y"});
    LineList::clearLines(list);
    QCOMPARE(list.rowCount(), 0);
    LineList::appendLine(list, QStringLiteral("z"));
    QCOMPARE(list.stringList(), QStringList({"z"}));
}

QTEST_APPLESS_MAIN(TestLineList)
#include "tst_linelist.moc"
