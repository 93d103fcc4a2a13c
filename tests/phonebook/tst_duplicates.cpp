// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialnumber.h"
#include "duplicates.h"
#include "pairentries.h"

#include <QTest>

namespace {

// Each row's mark as text: the other row's index, or "-" for none.
QStringList marksText(const QList<std::optional<int>> &marks)
{
    QStringList out;
    for (const std::optional<int> &mark : marks)
        out.append(mark ? QString::number(*mark) : QStringLiteral("-"));
    return out;
}

UsimFields fields(std::initializer_list<std::pair<QString UsimFields::*, QString>> values)
{
    UsimFields out;
    for (const auto &[field, value] : values)
        out.*field = value;
    return out;
}

const UsimFields kNone;
const UsimFields kMailX = fields({{&UsimFields::email, "x@example.org"}});
const UsimFields kMailY = fields({{&UsimFields::email, "y@example.org"}});
const UsimFields kFamily = fields({{&UsimFields::group, "FAMIGLIA"}});
const UsimFields kMobile = fields({{&UsimFields::adNumber, "+393471112233"}, {&UsimFields::adType, "145"}});
const UsimFields kMobileAtHome = fields({{&UsimFields::adNumber, "3471112233"}, {&UsimFields::adType, "129"}});
const UsimFields kOffice = fields({{&UsimFields::adNumber, "021234567"}, {&UsimFields::adType, "129"}});
const UsimFields kUnreadable = fields({{&UsimFields::unknownForm, "7,\"x\""}});

}

class TestDuplicates : public QObject {
    Q_OBJECT
private slots:
    void sameNumber_data();
    void sameNumber();
    void marks_data();
    void marks();
    void withoutCopies_data();
    void withoutCopies();
    void fieldsOfTheDroppedRow_data();
    void fieldsOfTheDroppedRow();
};

void TestDuplicates::sameNumber_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("homeCode");
    QTest::addColumn<bool>("same");

    const QString italy = DialNumber::kHomeCountryCode;
    QTest::newRow("+39 and 0039") << "+393331234567" << "00393331234567" << italy << true;
    QTest::newRow("+39 and national") << "+393331234567" << "3331234567" << italy << true;
    QTest::newRow("landline keeps its zero") << "+39 02 1234567" << "021234567" << italy << true;
    QTest::newRow("spaces, dashes, dots, parentheses")
        << "+39 (333) 123-45.67" << "3331234567" << italy << true;
    QTest::newRow("Unicode dashes and a no-break space")
        << QStringLiteral("333\u2010123\u2013456\u00A07") << "3331234567" << italy << true;
    QTest::newRow("+41 and 0041") << "+41 44 123 45 67" << "0041441234567" << italy << true;
    QTest::newRow("a Swiss national form is not +41") << "+41441234567" << "0441234567" << italy << false;
    QTest::newRow("39 without + or 00 is no country code") << "393331234567" << "3331234567" << italy << false;
    QTest::newRow("another country code is no home code") << "+3331234567" << "3331234567" << italy << false;
    QTest::newRow("one digit more") << "3331234567" << "33312345678" << italy << false;
    QTest::newRow("a number that ends with another") << "3331234567" << "31234567" << italy << false;
    QTest::newRow("both empty") << "" << "" << italy << false;
    QTest::newRow("one empty") << "" << "3331234567" << italy << false;
    QTest::newRow("only separators") << " - " << "" << italy << false;
    QTest::newRow("service code as it stands") << "*100#" << "* 100 #" << italy << true;
    QTest::newRow("service code is not its digits") << "*100#" << "100" << italy << false;
    QTest::newRow("pause letters in either case") << "3331234567P12" << "3331234567p12" << italy << true;
    QTest::newRow("a pause is not a digit") << "3331234567p12" << "333123456712" << italy << false;
    QTest::newRow("home abroad: +41 folds") << "+41441234567" << "441234567" << "+41" << true;
    QTest::newRow("home abroad: +39 stays") << "+393331234567" << "3331234567" << "+41" << false;
}

void TestDuplicates::sameNumber()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, homeCode);
    QFETCH(bool, same);
    QCOMPARE(DialNumber::same(a, b, homeCode), same);
    QCOMPARE(DialNumber::same(b, a, homeCode), same);
}

void TestDuplicates::marks_data()
{
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QStringList>("marks");

    QTest::newRow("one number in three forms")
        << QStringList{"MARIO|+393331234567", "MARIO ROSSI|0039 333 1234567", "PAPÀ|333-1234567"}
        << QStringList{"1", "0", "0"};
    QTest::newRow("no number shared") << QStringList{"A|1", "B|2"} << QStringList{"-", "-"};
    QTest::newRow("empty numbers mark nothing")
        << QStringList{"A|", "B|", "C|333"} << QStringList{"-", "-", "-"};
    QTest::newRow("a number that ends with another")
        << QStringList{"A|3331234567", "B|1234567"} << QStringList{"-", "-"};
    QTest::newRow("two pairs apart")
        << QStringList{"A|1", "B|2", "C|1", "D|2"} << QStringList{"2", "3", "0", "1"};
    QTest::newRow("foreign forms, and a Swiss national one")
        << QStringList{"ZIO|+41441234567", "ZIO|0041441234567", "ZIO|0441234567"}
        << QStringList{"1", "0", "-"};
    QTest::newRow("empty list") << QStringList{} << QStringList{};
}

void TestDuplicates::marks()
{
    QFETCH(QStringList, pairs);
    QFETCH(QStringList, marks);
    QCOMPARE(marksText(Duplicates::marks(pairEntries(pairs))), marks);
}

void TestDuplicates::withoutCopies_data()
{
    QTest::addColumn<QStringList>("pairs");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("dropped");

    QTest::newRow("an exact copy") << QStringList{"MARIO|333", "MARIO|333"} << QStringList{"MARIO|333"} << 1;
    QTest::newRow("case and spaces in the name")
        << QStringList{"Mario Rossi|333", "MARIO  ROSSI|333", " mario rossi |333"}
        << QStringList{"Mario Rossi|333"} << 2;
    QTest::newRow("a space inside the name counts")
        << QStringList{"MARIO ROSSI|333", "MARIOROSSI|333"} << QStringList{"MARIO ROSSI|333", "MARIOROSSI|333"}
        << 0;
    QTest::newRow("three forms of one number")
        << QStringList{"MARIO|+393331234567", "MARIO|0039 333 1234567", "MARIO|333-1234567"}
        << QStringList{"MARIO|+393331234567"} << 2;
    QTest::newRow("only the number shared")
        << QStringList{"MARIO|333", "PAPÀ|333"} << QStringList{"MARIO|333", "PAPÀ|333"} << 0;
    QTest::newRow("only the name shared")
        << QStringList{"MARIO|333", "MARIO|334"} << QStringList{"MARIO|333", "MARIO|334"} << 0;
    QTest::newRow("no number is never a copy")
        << QStringList{"MARIO|", "MARIO|"} << QStringList{"MARIO|", "MARIO|"} << 0;
    QTest::newRow("the copy of a row further up")
        << QStringList{"A|1", "B|2", "a|1"} << QStringList{"A|1", "B|2"} << 1;
    QTest::newRow("a SIM after two imports")
        << QStringList{"MARIO|+393331234567", "MARIO|00393331234567", "mario|333 123 4567",
                       "MARIO|+393331234567", "PAPÀ|3331234567", "ZIO|+41441234567", "ZIO|0041441234567"}
        << QStringList{"MARIO|+393331234567", "PAPÀ|3331234567", "ZIO|+41441234567"} << 4;
}

void TestDuplicates::withoutCopies()
{
    QFETCH(QStringList, pairs);
    QFETCH(QStringList, left);
    QFETCH(int, dropped);
    const Duplicates::Dropped result = Duplicates::withoutCopies(pairEntries(pairs));
    QCOMPARE(pairsOf(result.entries), left);
    QCOMPARE(result.dropped, dropped);
    for (int row = 0; row < result.entries.size(); ++row)
        QCOMPARE(result.entries.at(row).position, row + 1);
}

void TestDuplicates::fieldsOfTheDroppedRow_data()
{
    // Every row is MARIO on one number; only the fields differ.
    QTest::addColumn<QList<UsimFields>>("rows");
    QTest::addColumn<QList<UsimFields>>("left");

    QTest::newRow("only the dropped row has an e-mail") << QList{kNone, kMailX} << QList{kMailX};
    QTest::newRow("each has a field of its own")
        << QList{kFamily, kMailX}
        << QList{fields({{&UsimFields::group, "FAMIGLIA"}, {&UsimFields::email, "x@example.org"}})};
    QTest::newRow("the second number comes with its type") << QList{kMailX, kMobile}
        << QList{fields({{&UsimFields::email, "x@example.org"}, {&UsimFields::adNumber, "+393471112233"},
                         {&UsimFields::adType, "145"}})};
    QTest::newRow("one second number in two forms") << QList{kMobile, kMobileAtHome} << QList{kMobile};
    QTest::newRow("two second numbers: both stay") << QList{kMobile, kOffice} << QList{kMobile, kOffice};
    QTest::newRow("two e-mails: both stay") << QList{kMailX, kMailY} << QList{kMailX, kMailY};
    QTest::newRow("hidden comes over")
        << QList{kNone, fields({{&UsimFields::hidden, "1"}})} << QList{fields({{&UsimFields::hidden, "1"}})};
    QTest::newRow("an unreadable form beside read fields: both stay")
        << QList{kMailX, kUnreadable} << QList{kMailX, kUnreadable};
    QTest::newRow("an unreadable form onto no fields") << QList{kNone, kUnreadable} << QList{kUnreadable};
    QTest::newRow("the same unreadable form") << QList{kUnreadable, kUnreadable} << QList{kUnreadable};
    QTest::newRow("a copy of the second of two that disagree")
        << QList{kMailX, kMailY, fields({{&UsimFields::email, "y@example.org"}, {&UsimFields::group, "AMICI"}})}
        << QList{kMailX, fields({{&UsimFields::email, "y@example.org"}, {&UsimFields::group, "AMICI"}})};
}

void TestDuplicates::fieldsOfTheDroppedRow()
{
    QFETCH(QList<UsimFields>, rows);
    QFETCH(QList<UsimFields>, left);
    PhonebookEntries entries;
    for (const UsimFields &f : rows) {
        PhonebookEntry entry;
        entry.name = QStringLiteral("MARIO");
        entry.number = QStringLiteral("3331234567");
        entry.fields = f;
        entries.append(entry);
    }
    QList<UsimFields> kept;
    for (const PhonebookEntry &entry : Duplicates::withoutCopies(entries).entries)
        kept.append(entry.fields);
    QCOMPARE(kept, left);
}

QTEST_APPLESS_MAIN(TestDuplicates)
#include "tst_duplicates.moc"
