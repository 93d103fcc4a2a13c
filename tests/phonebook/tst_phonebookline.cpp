// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookline.h"
#include "textrules.h"

#include <QTest>

#include <limits>

using PhonebookLine::Layout;

Q_DECLARE_METATYPE(PhonebookEntry)
Q_DECLARE_METATYPE(PhonebookLine::Layout)
Q_DECLARE_METATYPE(PhonebookLimits)

namespace {
const QString kPos = QString(QChar(0x00C3));
const QString kField = QString(QChar(0x00B3));
const UsimFields kFamily{"1", "FAMIGLIA", "393471112233", "145", "", "", "", "", ""};

PhonebookEntry entry(int position, const QString &name, const QString &number)
{
    PhonebookEntry e;
    e.position = position;
    e.name = name;
    e.number = number;
    return e;
}
}

class TestPhonebookLine : public QObject {
    Q_OBJECT
private slots:
    void positionTag_data();
    void positionTag();
    void draw_data();
    void draw();
    void shown_data();
    void shown();
    void parse_data();
    void parse();
    void leadingNumber_data();
    void leadingNumber();
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

void TestPhonebookLine::draw_data()
{
    QTest::addColumn<PhonebookEntry>("entry");
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<PhonebookLimits>("limits");
    QTest::addColumn<QString>("line");

    // Names 5 characters, numbers 4: 2L+7+N+M characters in the read
    // layout, one more in the sorted one, so that lines stay in columns.
    const PhonebookLimits small{250, 5, 4};
    QTest::newRow("read layout, both at the limit")
        << entry(7, "MARIO", "1234") << Layout::Read << small << "007/250 " + kPos + " MARIO " + kField + " 1234";
    QTest::newRow("sorted layout, one more space")
        << entry(7, "MARIO", "1234") << Layout::Sorted << small << "007/250 " + kPos + "  MARIO " + kField + " 1234";
    QTest::newRow("both one over the limit")
        << entry(7, "MARIOX", "12345") << Layout::Read << small << "007/250 " + kPos + " MARIO " + kField + " 1234";
    QTest::newRow("both far over the limit") << entry(7, "MARIO ROSSI", "+393331234567") << Layout::Sorted
                                             << small << "007/250 " + kPos + "  MARIO " + kField + " +393";
    QTest::newRow("both short, padded")
        << entry(7, "ZIO", "12") << Layout::Read << small << "007/250 " + kPos + " ZIO   " + kField + " 12  ";
    QTest::newRow("spaces kept as given")
        << entry(7, " A B", " 1") << Layout::Read << small << "007/250 " + kPos + "  A B  " + kField + "  1  ";
    // An emoji is two UTF-16 units, as the edit box counts it.
    QTest::newRow("a pair that fits") << entry(7, QStringLiteral("ZOE\U0001F600"), "1") << Layout::Read << small
                                      << "007/250 " + kPos + QStringLiteral(" ZOE\U0001F600 ") + kField + " 1   ";
    QTest::newRow("a pair cut whole") << entry(7, QStringLiteral("ZOEY\U0001F600"), "1") << Layout::Read << small
                                      << "007/250 " + kPos + " ZOEY  " + kField + " 1   ";
    QTest::newRow("empty position, read layout")
        << entry(4, "", "") << Layout::Read << PhonebookLimits{9, 3, 2} << "4/9 " + kPos + "     " + kField + "   ";
    QTest::newRow("empty position, sorted layout")
        << entry(4, "", "") << Layout::Sorted << PhonebookLimits{9, 3, 2} << "4/9 " + kPos + "      " + kField + "   ";
    QTest::newRow("nothing read yet: widths 0") << entry(1, "MARIO", "06") << Layout::Read << PhonebookLimits{}
                                                << "1/ " + kPos + "  " + kField + " ";
}

void TestPhonebookLine::draw()
{
    QFETCH(PhonebookEntry, entry);
    QFETCH(Layout, layout);
    QFETCH(PhonebookLimits, limits);
    QFETCH(QString, line);
    QCOMPARE(PhonebookLine::draw(entry, layout, limits), line);
    // What the line does not show does not change it.
    PhonebookEntry withMore = entry;
    withMore.type = 145;
    withMore.fields = kFamily;
    withMore.unread = true;
    QCOMPARE(PhonebookLine::draw(withMore, layout, limits), line);
}

void TestPhonebookLine::shown_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<PhonebookLimits>("limits");
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<QString>("shownNumber");

    const PhonebookLimits small{250, 5, 4};
    QTest::newRow("as it is") << "ZIO" << "12" << small << "ZIO" << "12";
    QTest::newRow("padding dropped, leading spaces kept") << "  ZIO " << " 12 " << small << "  ZIO" << " 12";
    QTest::newRow("inner spaces kept") << "A  B" << "1 2" << small << "A  B" << "1 2";
    QTest::newRow("cut to the fields") << "MARIO ROSSI" << "+393331234567" << small << "MARIO" << "+393";
    QTest::newRow("cut, then trimmed") << "ABCD EF" << "123 45" << small << "ABCD" << "123";
    QTest::newRow("a pair cut whole") << QStringLiteral("ZOEY\U0001F600") << "1" << small << "ZOEY" << "1";
    QTest::newRow("tab is no space") << "\tZIO" << "1\t" << small << "\tZIO" << "1\t";
    QTest::newRow("blanks show empty") << "   " << "  " << small << "" << "";
    QTest::newRow("nothing read yet: widths 0") << "MARIO" << "06" << PhonebookLimits{} << "" << "";
}

void TestPhonebookLine::shown()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(PhonebookLimits, limits);
    QFETCH(QString, shownName);
    QFETCH(QString, shownNumber);

    PhonebookEntry given = entry(7, name, number);
    given.type = 145;
    given.fields = kFamily;
    PhonebookEntry expected = given;
    expected.name = shownName;
    expected.number = shownNumber;
    QCOMPARE(PhonebookLine::shown(given, limits), expected);
}

void TestPhonebookLine::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<PhonebookEntry>("entry");
    QTest::addColumn<PhonebookLimits>("limits");

    // A line drawn in the sorted layout, as a list file holds it, gives
    // back the entry as it shows and the limits it was drawn under.
    const auto drawn = [](const char *row, const PhonebookEntry &e, const PhonebookLimits &limits, const PhonebookEntry &back) {
        QTest::newRow(row) << PhonebookLine::draw(e, Layout::Sorted, limits) << true << back << limits;
    };
    const PhonebookLimits sim{250, 14, 20};
    drawn("plain", entry(42, "MARIO ROSSI", "+393331234567"), sim, entry(42, "MARIO ROSSI", "+393331234567"));
    drawn("inner spaces kept", entry(42, "MARIO  DE  ROS", "06 1234"), sim, entry(42, "MARIO  DE  ROS", "06 1234"));
    drawn("spaces around dropped", entry(42, "   ZIO ", "  123  "), sim, entry(42, "ZIO", "123"));
    drawn("both fill their fields", entry(250, "ABCDEFGHIJKLMN", "12345678901234567890"), sim,
          entry(250, "ABCDEFGHIJKLMN", "12345678901234567890"));
    drawn("only the number", entry(1, "", "*100#"), sim, entry(1, "", "*100#"));
    drawn("only the name", entry(1, "CASA", ""), sim, entry(1, "CASA", ""));
    drawn("tab is no space", entry(3, "\tCASA", "1\t"), sim, entry(3, "\tCASA", "1\t"));
    drawn("a pair ending the field", entry(3, QStringLiteral("ZOE\U0001F600"), "1"), {9, 5, 4},
          entry(3, QStringLiteral("ZOE\U0001F600"), "1"));
    drawn("empty position", entry(4, "", ""), {9, 3, 2}, entry(4, "", ""));
    drawn("four-digit tags", entry(12, "ADA", "06"), {1000, 40, 18}, entry(12, "ADA", "06"));

    QTest::newRow("empty") << QString() << false << PhonebookEntry() << PhonebookLimits{};
    QTest::newRow("no field separator") << "007/250 " + kPos + "  MARIO ROSSI   123" << false << PhonebookEntry()
                                        << PhonebookLimits{};
    QTest::newRow("no position separator") << "007/250   MARIO ROSSI " + kField + " 123" << false
                                           << PhonebookEntry() << PhonebookLimits{};
    QTest::newRow("separators swapped") << "007/250 " + kField + " MARIO " + kPos + " 123" << false
                                        << PhonebookEntry() << PhonebookLimits{};
    QTest::newRow("plain text") << QStringLiteral("MARIO ROSSI 3331234567") << false << PhonebookEntry() << PhonebookLimits{};
}

void TestPhonebookLine::parse()
{
    QFETCH(QString, line);
    QFETCH(bool, valid);
    QFETCH(PhonebookEntry, entry);
    QFETCH(PhonebookLimits, limits);

    const std::optional<PhonebookLine::Parsed> parsed = PhonebookLine::parse(line);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(parsed->entry.position, entry.position);
    QCOMPARE(parsed->entry.name, entry.name);
    QCOMPARE(parsed->entry.number, entry.number);
    QVERIFY(parsed->entry == entry);
    QCOMPARE(parsed->limits.MAXNUMRUB, limits.MAXNUMRUB);
    QCOMPARE(parsed->limits.MAXCARNOM, limits.MAXCARNOM);
    QCOMPARE(parsed->limits.MAXCARNUM, limits.MAXCARNUM);
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
    QCOMPARE(TextRules::leadingNumber(text), value);
}

QTEST_APPLESS_MAIN(TestPhonebookLine)
#include "tst_phonebookline.moc"
