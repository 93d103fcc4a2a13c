// SPDX-License-Identifier: GPL-3.0-or-later
// The answers that tell how large a phonebook is: the range query's, the
// write command's test form's, and the storage's counts.
#include "answerfixtures.h"
#include "phonebookanswers.h"

#include <QHash>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using AnswerFixtures::fixtureForms;
using AnswerFixtures::isEntryForm;
using AnswerFixtures::isRangeForm;

class TestSizeAnswers : public QObject {
    Q_OBJECT
private slots:
    void fixtureFileIsThere();
    void rangeFixtures_data();
    void rangeFixtures();
    void rangeForms_data();
    void rangeForms();
    void refusedRanges_data();
    void refusedRanges();
    void writeRanges_data();
    void writeRanges();
    void storageCounts_data();
    void storageCounts();
};

void TestSizeAnswers::fixtureFileIsThere()
{
    const QByteArrayList forms = fixtureForms();
    QVERIFY2(!forms.isEmpty(), "test data file missing or empty");
    QVERIFY(std::any_of(forms.begin(), forms.end(), isRangeForm));
    QVERIFY(std::any_of(forms.begin(), forms.end(), isEntryForm));
}

void TestSizeAnswers::rangeFixtures_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("known");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("maxNumRub");
    QTest::addColumn<int>("maxCarNum");
    QTest::addColumn<int>("maxCarNom");

    // Upper bound, number length, text length; none for a form refused.
    const QHash<QByteArray, QList<int>> expected{
        {"+CPBR: 1-250,40,18", {250, 40, 18}},
        {"+CPBR: (1-250), 40, 18", {250, 40, 18}},
        {"+CPBR: (),40,18", {}},
        {"+CPBR: (1-250),40,18", {250, 40, 18}},
        {"+CPBR: (1-250),50,14,,,,40,20", {250, 50, 14}},
        {"+CPBR: (1-150),32,16,255,16,255,255,255", {150, 32, 16}},
        {"+CPBR: (1-1),40,20", {1, 40, 20}},
        {"+CPBR: (1-3),20,14", {3, 20, 14}},
        {"+CPBR: (5-20),20,14", {20, 20, 14}},
    };
    for (const QByteArray &form : fixtureForms()) {
        if (!isRangeForm(form))
            continue;
        const QList<int> values = expected.value(form);
        const bool taken = values.size() == 3;
        QTest::newRow(form.constData()) << form << expected.contains(form) << taken
                                        << values.value(0) << values.value(1) << values.value(2);
    }
}

void TestSizeAnswers::rangeFixtures()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, known);
    QFETCH(bool, taken);
    QFETCH(int, maxNumRub);
    QFETCH(int, maxCarNum);
    QFETCH(int, maxCarNom);

    QVERIFY2(known, "a form in the test data has no expected values here");
    const auto range = PhonebookAnswers::parseIndexRange(answer);
    QCOMPARE(range.has_value(), taken);
    if (!taken)
        return;
    QCOMPARE(range->MAXNUMRUB, maxNumRub);
    QCOMPARE(range->MAXCARNUM, maxCarNum);
    QCOMPARE(range->MAXCARNOM, maxCarNom);
}

void TestSizeAnswers::rangeForms_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("maxNumRub");
    QTest::addColumn<int>("maxCarNum");
    QTest::addColumn<int>("maxCarNom");

    QTest::newRow("without the prefix") << "(1-250),40,18"_ba << 250 << 40 << 18;
    QTest::newRow("spaces after the commas") << "+CPBR: (1-250), 40, 18"_ba << 250 << 40 << 18;
    QTest::newRow("spaces around every number and comma") << "+CPBR: ( 1 - 250 ) , 40 , 18 "_ba << 250 << 40 << 18;
    QTest::newRow("without parentheses, spaced") << "+CPBR: 1 - 250 , 40 , 18"_ba << 250 << 40 << 18;
    QTest::newRow("a single bound") << "+CPBR: (250),40,18"_ba << 250 << 40 << 18;
    QTest::newRow("one-digit bound") << "+CPBR: (1-9),20,14"_ba << 9 << 20 << 14;
    QTest::newRow("largest accepted") << "+CPBR: (1-100000),1000,1000"_ba << 100000 << 1000 << 1000;
    QTest::newRow("smallest accepted") << "+CPBR: (1-1),1,1"_ba << 1 << 1 << 1;
    QTest::newRow("unsolicited line before") << "RING\r\n\r\n+CPBR: (1-250),40,18"_ba << 250 << 40 << 18;
}

void TestSizeAnswers::rangeForms()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, maxNumRub);
    QFETCH(int, maxCarNum);
    QFETCH(int, maxCarNom);

    const auto range = PhonebookAnswers::parseIndexRange(answer);
    QVERIFY(range);
    QCOMPARE(range->MAXNUMRUB, maxNumRub);
    QCOMPARE(range->MAXCARNUM, maxCarNum);
    QCOMPARE(range->MAXCARNOM, maxCarNom);
}

void TestSizeAnswers::refusedRanges_data()
{
    QTest::addColumn<QByteArray>("answer");

    // Every fixture form that is no range answer.
    for (const QByteArray &form : fixtureForms()) {
        if (!isRangeForm(form))
            QTest::newRow(("fixture " + form).constData()) << form;
    }
    QTest::newRow("empty") << ""_ba;
    QTest::newRow("OK") << "OK"_ba;
    QTest::newRow("no opening parenthesis") << "+CPBR: 1-250),40,18"_ba;
    QTest::newRow("no closing parenthesis") << "+CPBR: (1-250,40,18"_ba;
    QTest::newRow("parentheses reversed") << "+CPBR: )1-250(,40,18"_ba;
    QTest::newRow("text between range and comma") << "+CPBR: (1-250)x,40,18"_ba;
    // Without parentheses only the dash tells a range from an entry's index.
    QTest::newRow("a single bound without parentheses") << "+CPBR: 250,40,18"_ba;
    QTest::newRow("no text length") << "+CPBR: (1-250),40"_ba;
    QTest::newRow("nothing after the range") << "+CPBR: (1-250)"_ba;
    QTest::newRow("upper bound 0") << "+CPBR: (1-0),40,18"_ba;
    QTest::newRow("no upper bound") << "+CPBR: (1-),40,18"_ba;
    QTest::newRow("too many positions") << "+CPBR: (1-100001),40,18"_ba;
    QTest::newRow("number length 0") << "+CPBR: (1-250),0,18"_ba;
    QTest::newRow("number length missing") << "+CPBR: (1-250),,18"_ba;
    QTest::newRow("text length missing") << "+CPBR: (1-250),40,"_ba;
    QTest::newRow("number length too long") << "+CPBR: (1-250),1001,18"_ba;
    QTest::newRow("text length too long") << "+CPBR: (1-250),40,1001"_ba;
    QTest::newRow("huge number") << "+CPBR: (1-99999999999),40,18"_ba;
}

void TestSizeAnswers::refusedRanges()
{
    QFETCH(QByteArray, answer);
    QVERIFY(!PhonebookAnswers::parseIndexRange(answer));
}

void TestSizeAnswers::writeRanges_data()
{
    QTest::addColumn<QByteArray>("answer");
    // Upper bound, number length, text length; none for a form refused.
    QTest::addColumn<QList<int>>("limits");

    QTest::newRow("27.007") << "+CPBW: (1-250),40,(129,145),18"_ba << QList<int>{250, 40, 18};
    QTest::newRow("USIM lengths after the text length")
        << "+CPBW: (1-500),40,(128-255),20,40,20,80,80"_ba << QList<int>{500, 40, 20};
    QTest::newRow("spaced, without the prefix") << " ( 1 - 100 ) , 20 , ( 129 , 145 ) , 14 "_ba << QList<int>{100, 20, 14};
    QTest::newRow("range bare, a single type bare") << "+CPBW: 1-250,40,129,18"_ba << QList<int>{250, 40, 18};
    QTest::newRow("no types") << "+CPBW: (1-250),40,18"_ba << QList<int>();
    QTest::newRow("types not closed") << "+CPBW: (1-250),40,(129,145,18"_ba << QList<int>();
    QTest::newRow("text after the types") << "+CPBW: (1-250),40,(129,145)x,18"_ba << QList<int>();
    QTest::newRow("number length left out") << "+CPBW: (1-250),,(129,145),18"_ba << QList<int>();
    QTest::newRow("text length left out") << "+CPBW: (1-250),40,(129,145),"_ba << QList<int>();
    QTest::newRow("upper bound 0") << "+CPBW: (1-0),40,(129,145),18"_ba << QList<int>();
    QTest::newRow("ERROR") << "ERROR"_ba << QList<int>();
}

void TestSizeAnswers::writeRanges()
{
    QFETCH(QByteArray, answer);
    QFETCH(QList<int>, limits);

    const auto range = PhonebookAnswers::parseWriteRange(answer);
    QCOMPARE(range.has_value(), !limits.isEmpty());
    if (range)
        QCOMPARE((QList<int>{range->MAXNUMRUB, range->MAXCARNUM, range->MAXCARNOM}), limits);
}

void TestSizeAnswers::storageCounts_data()
{
    QTest::addColumn<QByteArray>("answer");
    // The entries held and the positions; -1: refused.
    QTest::addColumn<int>("used");
    QTest::addColumn<int>("size");

    QTest::newRow("SIM") << "+CPBS: \"SM\",46,250"_ba << 46 << 250;
    QTest::newRow("nothing stored") << "+CPBS: \"ME\",0,500"_ba << 0 << 500;
    QTest::newRow("spaces") << "+CPBS: \"SM\", 7 , 250 "_ba << 7 << 250;
    QTest::newRow("after RING") << "RING\r\n\r\n+CPBS: \"SM\",3,250"_ba << 3 << 250;
    QTest::newRow("storage alone") << "+CPBS: \"SM\""_ba << -1 << -1;
    QTest::newRow("count left empty") << "+CPBS: \"SM\",,250"_ba << -1 << 250;
    QTest::newRow("count not a number") << "+CPBS: \"SM\",x,250"_ba << -1 << 250;
    QTest::newRow("no size") << "+CPBS: \"SM\",3"_ba << 3 << -1;
    QTest::newRow("size 0") << "+CPBS: \"SM\",0,0"_ba << 0 << -1;
    QTest::newRow("too many positions") << "+CPBS: \"ME\",0,100001"_ba << 0 << -1;
    QTest::newRow("ERROR") << "ERROR"_ba << -1 << -1;
    QTest::newRow("another answer") << "+CPBR: 7,\"1\",129,\"A\""_ba << -1 << -1;
}

void TestSizeAnswers::storageCounts()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, used);
    QFETCH(int, size);
    QCOMPARE(PhonebookAnswers::parseUsedCount(answer).value_or(-1), used);
    QCOMPARE(PhonebookAnswers::parseStorageSize(answer).value_or(-1), size);
}

QTEST_APPLESS_MAIN(TestSizeAnswers)
#include "tst_sizeanswers.moc"
