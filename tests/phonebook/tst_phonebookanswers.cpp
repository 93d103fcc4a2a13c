// SPDX-License-Identifier: GPL-3.0-or-later
// The answers to the read of one position: the entry they name, and the
// forms refused.
#include "answerfixtures.h"
#include "phonebookanswers.h"

#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;
using AnswerFixtures::fixtureForms;
using AnswerFixtures::isEntryForm;
using AnswerFixtures::isRangeForm;

namespace {

const QByteArray kEntry = "+CPBR: 7,\"+393331234567\",145,\"MARIO ROSSI\""_ba;

}

class TestPhonebookAnswers : public QObject {
    Q_OBJECT
private slots:
    void entryFixtures_data();
    void entryFixtures();
    void entryForms_data();
    void entryForms();
    void refusedEntries_data();
    void refusedEntries();
    void namesInvalidInTheCharset_data();
    void namesInvalidInTheCharset();
};

void TestPhonebookAnswers::entryFixtures_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("charset");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<UsimFields>("fields");

    struct Expected {
        QString charset; // empty: the program's single bytes
        PhonebookEntry entry;
        bool taken = true;
    };
    const UsimFields none;
    const UsimFields home{"1", "FAMIGLIA", "393471112233", "145", "", "", "", "", ""};
    const UsimFields anna{"", "AMICI", "0698765", "129", "Anna Bianchi", "anna@example.org",
                          "sip:anna@example.org", "tel:+393331234567", ""};
    const UsimFields casa{"", "FAMIGLIA", "+390612345670", "", "", "", "", "", ""};
    const QByteArray ucs2Name = "005300740065007600650020002000560069006E0073006F006E"_ba;
    const QHash<QByteArray, Expected> expected{
        {kEntry, {"", {7, "+393331234567", 145, "MARIO ROSSI", none}}},
        {"+CPBR: 1,\"+33616918685\",145,\"68506C6970696570\"", {"", {1, "+33616918685", 145, "68506C6970696570", none}}},
        {"+CPBR: 2,\"*100#\",129,\"gg get balance\",0", {"", {2, "*100#", 129, "gg get balance", none}}},
        {"+CPBR: 81,\"#121#\",129,\"My Tempo\",0", {"", {81, "#121#", 129, "My Tempo", none}}},
        {"+CPBR: 16,\"\",,\"" + ucs2Name + "\",,,,,,,", {"", {16, "", 0, QString::fromLatin1(ucs2Name), none}}},
        {"+CPBR: 6,\"\",,\"005300740061006E006C006500790020005000610075006C\"", {"UCS2", {6, "", 0, "Stanley Paul", none}}},
        {"+CPBR: 1,\"+60122256476\",145,\"\",\"08/07/04\",\"17:24:55\"", {"", {1, "+60122256476", 145, "", none}}},
        {"+CPBR: 1,,\"+31234657899\",145,\"Mama GSM\",\"2007/11/02,09:27\"", {"", {1, "+31234657899", 145, "Mama GSM", none}}},
        {"+CPBR: 12,\"0612345679\",129,\"CASA\",0,\"FAMIGLIA\",\"+390612345670\"", {"", {12, "0612345679", 129, "CASA", casa}}},
        {"+CPBR: 419,\"030450566735\",129,56697263686F77204B6C696E696B756D2053742E20333100",
         {"HEX", {419, "030450566735", 129, "Virchow Klinikum St. 31", none}}},
        {"+CPBR: 30,\"0612345679\",129,\"Casa Mare\",1,\"FAMIGLIA\",\"393471112233\",145",
         {"", {30, "0612345679", 129, "Casa Mare", home}}},
        {"+CPBR: 31,\"3331234567\",129,\"Anna B\",0,\"AMICI\",\"0698765\",129,\"Anna Bianchi\",\"anna@example.org\","
         "\"sip:anna@example.org\",\"tel:+393331234567\"",
         {"", {31, "3331234567", 129, "Anna B", anna}}},
        {"+CPBR: 8,\"+393285556677\",145,\"004E006900630063006F006C00F2\"",
         {"UCS2", {8, "+393285556677", 145, QStringLiteral("Niccol\u00F2"), none}}},
        {"+CPBR: 7, \"+393331234567\", 145, \"MARIO ROSSI\"", {"", {7, "+393331234567", 145, "MARIO ROSSI", none}}},
        // The group as a number is not the 27.007 form: no fields.
        // Kept as it came, so that the entry is not written back without it.
        {"+CPBR: 32,\"3331234567\",129,\"Ugo Neri\",0,3,\"3331234\",129",
         {"", {32, "3331234567", 129, "Ugo Neri", UsimFields{"", "", "", "", "", "", "", "", ",0,3,\"3331234\",129"}}}},
        {"+CPBR: 9,\"0612345678\",129,\"005A006F00650020D83DDE00\"",
         {"UCS2", {9, "0612345678", 129, QStringLiteral("Zoe \U0001F600"), none}}},
        // Half a surrogate pair is no character.
        {"+CPBR: 10,\"0612345678\",129,\"005A006F0065D800\"", {"UCS2", {}, false}},
        // The phone dropped the "+" of an international number.
        {"+CPBR: 3,\"393401112222\",145,\"ZIO PAOLO\"", {"", {3, "+393401112222", 145, "ZIO PAOLO", none}}},
        {"+CPBR: 5,\"41791234567\",145,\"Zurigo Ufficio\"", {"", {5, "+41791234567", 145, "Zurigo Ufficio", none}}},
        {"+CPBR: 6,\"447700900123\",145,\"Londra\"", {"", {6, "+447700900123", 145, "Londra", none}}},
    };
    for (const QByteArray &form : fixtureForms()) {
        if (!isEntryForm(form))
            continue;
        const Expected e = expected.value(form);
        QTest::newRow(form.constData()) << form << expected.contains(form) << e.charset << e.taken << e.entry.position
                                        << e.entry.number << e.entry.type << e.entry.name << e.entry.fields;
    }
    QTest::newRow("USIM fields, spaces around the commas")
        << "+CPBR: 30 , \"0612345679\" , 129 , \"Casa Mare\" , 1 , \"FAMIGLIA\" , \"393471112233\" , 145 "_ba << true
        << "" << true << 30 << "0612345679" << 129 << "Casa Mare" << home;
    QTest::newRow("hex name unquoted, spaced") << "+CPBR: 5, \"1\", 129, 414243 , 0"_ba << true << "HEX" << true << 5
                                               << "1" << 129 << "ABC" << none;
}

void TestPhonebookAnswers::entryFixtures()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, known);
    QFETCH(QString, charset);
    QFETCH(bool, taken);
    QFETCH(int, position);
    QFETCH(QString, number);
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(UsimFields, fields);

    QVERIFY2(known, "a form in the test data has no expected values here");
    const auto entry = PhonebookAnswers::parseEntry(answer, PhoneCharset::named(charset.toLatin1()).value_or(PhoneCharset()));
    QCOMPARE(entry.has_value(), taken);
    if (!taken)
        return;
    QCOMPARE(entry->position, position);
    QCOMPARE(entry->number, number);
    QCOMPARE(entry->type, type);
    QCOMPARE(entry->name, name);
    QVERIFY(entry->fields == fields);
}

void TestPhonebookAnswers::entryForms_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");

    // Unsolicited result codes hold quotes and commas of their own.
    for (const QByteArray &form : fixtureForms()) {
        if (isRangeForm(form) || isEntryForm(form))
            continue;
        QTest::newRow((form + " before").constData()) << form + "\r\n\r\n" + kEntry
                                                     << "+393331234567" << "MARIO ROSSI";
        QTest::newRow((form + " after").constData()) << kEntry + "\r\n\r\n" + form
                                                    << "+393331234567" << "MARIO ROSSI";
    }
    QTest::newRow("a call in full before")
        << "RING\r\n\r\n+CLIP: \"0612345678\",129,\"\",,\"MARIO\",0\r\n\r\n"_ba + kEntry
        << "+393331234567" << "MARIO ROSSI";
    QTest::newRow("without the prefix") << "7,\"0612345678\",129,\"CASA\""_ba << "0612345678" << "CASA";
    QTest::newRow("name ends at its inner quote") << "+CPBR: 7,\"123\",129,\"MARIO \"BIG\" ROSSI\""_ba
                                                  << "123" << "MARIO ";
    QTest::newRow("name with commas") << "+CPBR: 7,\"123\",129,\"ROSSI, MARIO\""_ba << "123" << "ROSSI, MARIO";
    QTest::newRow("name with spaces at its ends") << "+CPBR: 7,\"123\",129,\"  ZIO  \""_ba << "123" << "  ZIO  ";
    QTest::newRow("name with accents") << "+CPBR: 7,\"123\",129,\"NICOL\xD2\""_ba
                                       << "123" << QStringLiteral("NICOL\u00D2");
    QTest::newRow("both empty") << "+CPBR: 7,\"\",129,\"\""_ba << "" << "";
    QTest::newRow("145 with an empty number") << "+CPBR: 7,\"\",145,\"X\""_ba << "" << "X";
    QTest::newRow("145 keeps its plus") << "+CPBR: 7,\"+33616918685\",145,\"X\""_ba << "+33616918685" << "X";
    QTest::newRow("129 gets no plus") << "+CPBR: 7,\"393401112222\",129,\"X\""_ba << "393401112222" << "X";
    QTest::newRow("type with spaces") << "+CPBR: 7,\"393401112222\", 145 ,\"X\""_ba << "+393401112222" << "X";
}

void TestPhonebookAnswers::entryForms()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, number);
    QFETCH(QString, name);

    const auto entry = PhonebookAnswers::parseEntry(answer);
    QVERIFY(entry);
    QCOMPARE(entry->number, number);
    QCOMPARE(entry->name, name);
}

void TestPhonebookAnswers::refusedEntries_data()
{
    QTest::addColumn<QByteArray>("answer");

    // The error answers and the unsolicited result codes, alone: a call
    // announced while the phone answers an empty position must not turn
    // into an entry.
    for (const QByteArray &form : fixtureForms()) {
        if (!isEntryForm(form))
            QTest::newRow(("fixture " + form).constData()) << form;
    }
    QTest::newRow("empty") << ""_ba;
    QTest::newRow("a call in full")
        << "RING\r\n\r\n+CLIP: \"0612345678\",129,\"\",,\"MARIO\",0"_ba;
    QTest::newRow("only the number") << "+CPBR: 7,\"123\",129"_ba;
    QTest::newRow("number not closed") << "+CPBR: 7,\"123"_ba;
    QTest::newRow("name not closed") << "+CPBR: 7,\"123\",129,\"MARIO"_ba;
    QTest::newRow("no quotes") << "+CPBR: 7,123,129,MARIO"_ba;
    QTest::newRow("no index") << "+CPBR: ,\"123\",129,\"MARIO\""_ba;
    QTest::newRow("no fields") << "+CPBR: HELLO"_ba;
}

void TestPhonebookAnswers::refusedEntries()
{
    QFETCH(QByteArray, answer);
    QVERIFY(!PhonebookAnswers::parseEntry(answer));
}

void TestPhonebookAnswers::namesInvalidInTheCharset_data()
{
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("odd UCS2 hex") << "UCS2" << "+CPBR: 8,\"1\",129,\"004E00690\""_ba;
    QTest::newRow("not hex") << "UCS2" << "+CPBR: 8,\"1\",129,\"MARIO ROSSI\""_ba;
    QTest::newRow("odd HEX unquoted") << "HEX" << "+CPBR: 8,\"1\",129,414"_ba;
    QTest::newRow("GSM escape at the end") << "GSM" << "+CPBR: 8,\"1\",129,\"A\x1B\""_ba;
    QTest::newRow("GSM escape to an escape") << "GSM" << "+CPBR: 8,\"1\",129,\"A\x1B\x1B\""_ba;
    QTest::newRow("UTF-8 broken") << "UTF-8" << "+CPBR: 8,\"1\",129,\"Niccol\xF2\""_ba;
}

void TestPhonebookAnswers::namesInvalidInTheCharset()
{
    QFETCH(QString, charset);
    QFETCH(QByteArray, answer);
    QVERIFY(!PhonebookAnswers::parseEntry(answer, *PhoneCharset::named(charset.toLatin1())));
}

QTEST_APPLESS_MAIN(TestPhonebookAnswers)
#include "tst_phonebookanswers.moc"
