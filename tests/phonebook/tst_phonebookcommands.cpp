// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonebookcommands.h"

#include <QTest>

class TestPhonebookCommands : public QObject {
    Q_OBJECT
private slots:
    void numberType_data();
    void numberType();
    void writeCommand_data();
    void writeCommand();
    void clearCommand();
};

void TestPhonebookCommands::numberType_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("type");

    QTest::newRow("+39 at the start") << "+393331234567" << 145;
    QTest::newRow("+39 further in") << "0+39123" << 145;
    QTest::newRow("+39 at the end") << "123+39" << 145;
    QTest::newRow("0039, no plus") << "00393331234567" << 129;
    QTest::newRow("other country") << "+41791234567" << 145;
    QTest::newRow("+3 9 split by a space") << "+3 9123" << 145;
    QTest::newRow("national") << "0612345678" << 129;
    QTest::newRow("empty") << "" << 129;
    QTest::newRow("spaces around +39") << "  +39333  " << 145;
}

void TestPhonebookCommands::numberType()
{
    QFETCH(QString, number);
    QFETCH(int, type);
    QCOMPARE(PhonebookCommands::numberType(number), type);
}

void TestPhonebookCommands::writeCommand_data()
{
    QTest::addColumn<QString>("charset");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<UsimFields>("fields");
    // The command's bytes, or why it is refused.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("refusal");

    using R = PhonebookCommands::Refusal;
    const int ok = int(R::None);
    const UsimFields none;
    const QByteArray no;
    QTest::newRow("italian mobile") << "" << 7 << "+393331234567" << "MARIO ROSSI" << none
                                    << QByteArray("+CPBW=7,\"+393331234567\",145,\"MARIO ROSSI\"") << ok;
    QTest::newRow("international, plus kept") << "" << 12 << "+41791234567" << "ZURIGO" << none
                                              << QByteArray("+CPBW=12,\"+41791234567\",145,\"ZURIGO\"") << ok;
    QTest::newRow("empty number") << "" << 1 << "" << "SOLO NOME" << none
                                  << QByteArray("+CPBW=1,\"\",129,\"SOLO NOME\"") << ok;
    QTest::newRow("empty name") << "" << 250 << "112" << "" << none << QByteArray("+CPBW=250,\"112\",129,\"\"") << ok;
    QTest::newRow("accented name, one byte each") << "" << 20 << "06" << "NICOL\u00D2" << none
                                                  << QByteArray("+CPBW=20,\"06\",129,\"NICOL\xD2\"") << ok;
    QTest::newRow("position 0") << "" << 0 << "06" << "A" << none << no << int(R::Position);
    QTest::newRow("past the highest position") << "" << 251 << "06" << "A" << none << no << int(R::Position);
    QTest::newRow("name too long") << "" << 1 << "06" << "BARTOLOMEO CARLI ROSSI" << none << no << int(R::NameTooLong);
    QTest::newRow("number too long") << "" << 1 << "+390612345678901234567" << "A" << none << no
                                     << int(R::NumberTooLong);

    // A quote would end the quoted text: the rest would run as commands.
    QTest::newRow("quote in a name") << "" << 6 << "0612" << "X\";+CPBW=1;+CPBW=2" << none << no
                                     << int(R::NameCannotTravel);
    QTest::newRow("quote in a UCS2 name travels as hex") << "UCS2" << 3 << "06" << "A\"B" << none
                                                         << QByteArray("+CPBW=3,\"06\",129,\"004100220042\"") << ok;
    QTest::newRow("quote in a HEX name travels as hex") << "HEX" << 3 << "06" << "A\"B" << none
                                                        << QByteArray("+CPBW=3,\"06\",129,\"412242\"") << ok;
    QTest::newRow("quote in a number") << "UCS2" << 3 << "06\"12" << "A" << none << no << int(R::NumberCannotTravel);
    QTest::newRow("CR in a number") << "" << 3 << "06\r12" << "A" << none << no << int(R::NumberCannotTravel);
    QTest::newRow("tab in a UCS2 name") << "UCS2" << 3 << "06" << "a\tb" << none << no << int(R::NameCannotTravel);
    // A backslash and two hex digits are one character in a V.250 string.
    QTest::newRow("backslash escape in a name") << "" << 3 << "06" << "A\\41" << none << no
                                                << int(R::NameCannotTravel);
    QTest::newRow("lone backslash") << "" << 3 << "06" << "A\\B" << none << QByteArray("+CPBW=3,\"06\",129,\"A\\B\"") << ok;

    // GSM: only the printable IA5 septets go on a command line.
    QTest::newRow("GSM printable") << "GSM" << 4 << "06" << QStringLiteral("Öztürk") << none
                                   << QByteArray("+CPBW=4,\"06\",129,\"\\zt~rk\"") << ok;
    QTest::newRow("GSM à is 0x7F") << "GSM" << 4 << "06" << QStringLiteral("Città Ufficio") << none << no
                                   << int(R::NameCannotTravel);
    QTest::newRow("GSM ù is 0x06") << "GSM" << 4 << "06" << QStringLiteral("Gesù Bambino") << none << no
                                   << int(R::NameCannotTravel);
    QTest::newRow("GSM ì is 0x07") << "GSM" << 4 << "06" << QStringLiteral("Lì Vicino") << none << no
                                   << int(R::NameCannotTravel);
    QTest::newRow("GSM @ is NUL") << "GSM" << 4 << "06" << QStringLiteral("Bar@Sport") << none << no
                                  << int(R::NameCannotTravel);
    QTest::newRow("GSM escape before €") << "GSM" << 4 << "06" << QStringLiteral("5 €") << none << no
                                         << int(R::NameCannotTravel);
    QTest::newRow("GSM lacks Ł") << "GSM" << 4 << "06" << QStringLiteral("Łukasz") << none << no << int(R::NameNotInSet);

    // The USIM fields, in +CPBW's order: every one up to the last with a
    // value, empty texts as "", the second number with its type, hidden last.
    QTest::newRow("second number gets its type")
        << "" << 5 << "06" << "CASA" << UsimFields{"", "FAMIGLIA", "+390612345670", "", "", "", "", "", ""}
        << QByteArray("+CPBW=5,\"06\",129,\"CASA\",\"FAMIGLIA\",\"+390612345670\",145") << ok;
    QTest::newRow("hidden, the empty texts before it quoted")
        << "" << 30 << "0612345679" << "Casa Mare" << UsimFields{"1", "FAMIGLIA", "393471112233", "145", "", "", "", "", ""}
        << QByteArray("+CPBW=30,\"0612345679\",129,\"Casa Mare\",\"FAMIGLIA\",\"393471112233\",145,\"\",\"\",\"\",\"\",1")
        << ok;
    QTest::newRow("hidden alone")
        << "" << 2 << "800821" << "NUMERO VERDE" << UsimFields{"1", "", "", "", "", "", "", "", ""}
        << QByteArray("+CPBW=2,\"800821\",129,\"NUMERO VERDE\",\"\",\"\",,\"\",\"\",\"\",\"\",1") << ok;
    QTest::newRow("every field")
        << "" << 31 << "3331234567" << "Anna B"
        << UsimFields{"", "AMICI", "0698765", "129", "Anna Bianchi", "anna@example.org", "sip:anna@example.org",
                      "tel:+393331234567", ""}
        << QByteArray("+CPBW=31,\"3331234567\",129,\"Anna B\",\"AMICI\",\"0698765\",129,\"Anna Bianchi\","
                      "\"anna@example.org\",\"sip:anna@example.org\",\"tel:+393331234567\"")
        << ok;
    QTest::newRow("texts in UCS2, the second number as it is")
        << "UCS2" << 1 << "06" << "A" << UsimFields{"", "Amici", "0698765", "", "", "", "", "", ""}
        << QByteArray("+CPBW=1,\"06\",129,\"0041\",\"0041006D006900630069\",\"0698765\",129") << ok;
    QTest::newRow("a field text the set lacks")
        << "GSM" << 1 << "06" << "A" << UsimFields{"", "Niccolò", "", "", "", "", "", "", ""} << no
        << int(R::FieldCannotTravel);
    QTest::newRow("a quote in the second number")
        << "" << 1 << "06" << "A" << UsimFields{"", "", "06\"", "", "", "", "", "", ""} << no
        << int(R::FieldCannotTravel);
    QTest::newRow("fields in a form not understood")
        << "" << 32 << "3331234567" << "Ugo Neri" << UsimFields{"", "", "", "", "", "", "", "", ",0,3,\"3331234\",129"}
        << no << int(R::FieldsNotUnderstood);
}

void TestPhonebookCommands::writeCommand()
{
    QFETCH(QString, charset);
    QFETCH(int, position);
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(UsimFields, fields);
    QFETCH(QByteArray, bytes);
    QFETCH(int, refusal);

    const PhonebookCommands::WriteCommand write = PhonebookCommands::writeCommand(
        {position, number, 0, name, fields}, PhoneCharset::named(charset.toLatin1()).value_or(PhoneCharset()), {250, 20, 20});
    QCOMPARE(int(write.refusal), refusal);
    QCOMPARE(write.sendable(), refusal == int(PhonebookCommands::Refusal::None));
    QCOMPARE(write.command, bytes);
}

void TestPhonebookCommands::clearCommand()
{
    QCOMPARE(PhonebookCommands::clearCommand(1), QByteArray("+CPBW=1"));
    QCOMPARE(PhonebookCommands::clearCommand(250), QByteArray("+CPBW=250"));
}

QTEST_GUILESS_MAIN(TestPhonebookCommands)
#include "tst_phonebookcommands.moc"
