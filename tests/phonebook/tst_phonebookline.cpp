#include "phonebookline.h"

#include <QTest>

#include <limits>

using PhonebookLine::Layout;
using PhonebookLine::Limits;

namespace {
const QString kPos = QString(QChar(0x00C3));
const QString kField = QString(QChar(0x00B3));
}

class TestPhonebookLine : public QObject {
    Q_OBJECT
private slots:
    void positionTag_data();
    void positionTag();
    void fieldsCutAndPadded_data();
    void fieldsCutAndPadded();
    void splitIsLayoutIndependent_data();
    void splitIsLayoutIndependent();
    void emptySlot();
    void splitRefusesLinesWithoutSeparators_data();
    void splitRefusesLinesWithoutSeparators();
    void leadingNumber_data();
    void leadingNumber();
    void positionFromTag_data();
    void positionFromTag();
};

void TestPhonebookLine::positionTag_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("maxNumRub");
    QTest::addColumn<QString>("tag");

    QTest::newRow("first of 9") << 1 << 9 << "1/9";
    QTest::newRow("last of 9") << 9 << 9 << "9/9";
    QTest::newRow("first of 250") << 1 << 250 << "001/250";
    QTest::newRow("7 of 250") << 7 << 250 << "007/250";
    QTest::newRow("last of 250") << 250 << 250 << "250/250";
    QTest::newRow("first of 1000") << 1 << 1000 << "0001/1000";
    QTest::newRow("12 of 1000") << 12 << 1000 << "0012/1000";
    QTest::newRow("last of 1000") << 1000 << 1000 << "1000/1000";
}

void TestPhonebookLine::positionTag()
{
    QFETCH(int, position);
    QFETCH(int, maxNumRub);
    QFETCH(QString, tag);
    QCOMPARE(PhonebookLine::positionTag(position, maxNumRub), tag);
}

void TestPhonebookLine::fieldsCutAndPadded_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("nameField");
    QTest::addColumn<QString>("numberField");

    // Limits below: names 5 characters, numbers 4.
    QTest::newRow("both exactly at the limit") << "MARIO" << "1234" << "MARIO" << "1234";
    QTest::newRow("both one over the limit") << "MARIOX" << "12345" << "MARIO" << "1234";
    QTest::newRow("both far over the limit") << "MARIO ROSSI" << "+393331234567" << "MARIO" << "+393";
    QTest::newRow("both short") << "ZIO" << "12" << "ZIO  " << "12  ";
    QTest::newRow("both empty") << "" << "" << "     " << "    ";
    QTest::newRow("spaces kept as given") << " A B" << " 1" << " A B " << " 1  ";
    // An emoji is two UTF-16 units, as the edit box counts it.
    QTest::newRow("a pair that fits") << QStringLiteral("ZOE\U0001F600") << "1" << QStringLiteral("ZOE\U0001F600") << "1   ";
    QTest::newRow("a pair cut whole") << QStringLiteral("ZOEY\U0001F600") << "1" << "ZOEY " << "1   ";
}

void TestPhonebookLine::fieldsCutAndPadded()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, nameField);
    QFETCH(QString, numberField);

    const Limits limits{250, 5, 4};
    const QString read = PhonebookLine::build(7, name, number, Layout::Read, limits);
    const QString sorted = PhonebookLine::build(7, name, number, Layout::Sorted, limits);
    QCOMPARE(read, "007/250 " + kPos + " " + nameField + " " + kField + " " + numberField);
    QCOMPARE(sorted, "007/250 " + kPos + "  " + nameField + " " + kField + " " + numberField);
    // 2L+7+N+M and one more for the sorted layout: lines stay in columns.
    QCOMPARE(read.size(), 2 * 3 + 7 + 5 + 4);
    QCOMPARE(sorted.size(), read.size() + 1);
}

void TestPhonebookLine::splitIsLayoutIndependent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("splitName");
    QTest::addColumn<QString>("splitNumber");

    QTest::newRow("plain") << "MARIO ROSSI" << "+393331234567" << "MARIO ROSSI" << "+393331234567";
    QTest::newRow("inner spaces kept") << "MARIO  DE  ROS" << "06 1234" << "MARIO  DE  ROS" << "06 1234";
    QTest::newRow("leading spaces dropped") << "   ZIO" << "  123" << "ZIO" << "123";
    QTest::newRow("trailing spaces dropped") << "ZIO   " << "123  " << "ZIO" << "123";
    QTest::newRow("name fills its field") << "ABCDEFGHIJKLMN" << "12345678901234567890"
                                          << "ABCDEFGHIJKLMN" << "12345678901234567890";
    QTest::newRow("name cut to its field") << "ABCDEFGHIJKLMNOP" << "123" << "ABCDEFGHIJKLMN" << "123";
    QTest::newRow("only the number") << "" << "*100#" << "" << "*100#";
    QTest::newRow("only the name") << "CASA" << "" << "CASA" << "";
    QTest::newRow("tab is no space") << "\tCASA" << "1\t" << "\tCASA" << "1\t";
}

void TestPhonebookLine::splitIsLayoutIndependent()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, splitName);
    QFETCH(QString, splitNumber);

    const Limits limits{250, 14, 20};
    for (const Layout layout : {Layout::Read, Layout::Sorted}) {
        const auto split = PhonebookLine::split(PhonebookLine::build(42, name, number, layout, limits));
        QVERIFY(split.valid);
        QCOMPARE(split.tag, QStringLiteral("042/250 "));
        QCOMPARE(split.name, splitName);
        QCOMPARE(split.number, splitNumber);
    }
}

void TestPhonebookLine::emptySlot()
{
    const Limits limits{9, 3, 2};
    const QString tail = "    " + kField + "   ";
    QCOMPARE(PhonebookLine::emptySlotTail(limits), tail);
    QCOMPARE(PhonebookLine::emptySlot(4, Layout::Read, limits), "4/9 " + kPos + " " + tail);
    QCOMPARE(PhonebookLine::emptySlot(4, Layout::Sorted, limits), "4/9 " + kPos + "  " + tail);
    QVERIFY(PhonebookLine::emptySlot(4, Layout::Read, limits).endsWith(PhonebookLine::emptySlotTail(limits)));

    const auto split = PhonebookLine::split(PhonebookLine::emptySlot(4, Layout::Read, limits));
    QVERIFY(split.valid);
    QCOMPARE(split.tag, QStringLiteral("4/9 "));
    QVERIFY(split.name.isEmpty());
    QVERIFY(split.number.isEmpty());
}

void TestPhonebookLine::splitRefusesLinesWithoutSeparators_data()
{
    QTest::addColumn<QString>("line");

    QTest::newRow("empty") << QString();
    QTest::newRow("no field separator") << "007/250 " + kPos + " MARIO ROSSI   123";
    QTest::newRow("no position separator") << "007/250   MARIO ROSSI " + kField + " 123";
    QTest::newRow("separators swapped") << "007/250 " + kField + " MARIO " + kPos + " 123";
    QTest::newRow("plain text") << QStringLiteral("MARIO ROSSI 3331234567");
}

void TestPhonebookLine::splitRefusesLinesWithoutSeparators()
{
    QFETCH(QString, line);
    QVERIFY(!PhonebookLine::split(line).valid);
}

void TestPhonebookLine::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "250" << 250;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("leading spaces") << "   18" << 18;
    QTest::newRow("stops at a non-digit") << "40,18" << 40;
    QTest::newRow("stops at a parenthesis") << "20)" << 20;
    QTest::newRow("no number") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("only spaces") << "   " << 0;
    QTest::newRow("a tab is no leading space") << "\t5" << 0;
    QTest::newRow("non-ASCII digits are no digits") << QString(QChar(0x0663)) << 0;
    QTest::newRow("too big for an int") << "99999999999" << std::numeric_limits<int>::max();
}

void TestPhonebookLine::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(PhonebookLine::leadingNumber(text), value);
}

void TestPhonebookLine::positionFromTag_data()
{
    QTest::addColumn<QString>("tagText");
    QTest::addColumn<int>("maxNumRub");
    QTest::addColumn<int>("position");

    QTest::newRow("one digit") << "3/9 " << 9 << 3;
    QTest::newRow("three digits") << "001/250 " << 250 << 1;
    QTest::newRow("three digits, last") << "250/250 " << 250 << 250;
    QTest::newRow("four digits") << "0012/1000 " << 1000 << 12;
    QTest::newRow("nothing selected") << "" << 250 << 0;
}

void TestPhonebookLine::positionFromTag()
{
    QFETCH(QString, tagText);
    QFETCH(int, maxNumRub);
    QFETCH(int, position);
    QCOMPARE(PhonebookLine::positionFromTag(tagText, maxNumRub), position);
    // The tag a line gets leads back to its position.
    if (position > 0)
        QCOMPARE(PhonebookLine::positionFromTag(PhonebookLine::positionTag(position, maxNumRub), maxNumRub),
                 position);
}

QTEST_APPLESS_MAIN(TestPhonebookLine)
#include "tst_phonebookline.moc"
