#include "entryedit.h"
#include "phonebookcommands.h"
#include "usimanswer.h"

#include <QTest>

class TestPhonebookCommands : public QObject {
    Q_OBJECT
private slots:
    void numberType_data();
    void numberType();
    void writeCommand_data();
    void writeCommand();
    void usimFields_data();
    void usimFields();
    void clearCommand();
    void counterText_data();
    void counterText();
};

void TestPhonebookCommands::numberType_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("type");

    QTest::newRow("+39 at the start") << "+393331234567" << 145;
    QTest::newRow("+39 further in") << "0+39123" << 145;
    QTest::newRow("+39 at the end") << "123+39" << 145;
    QTest::newRow("0039, no plus") << "00393331234567" << 129;
    QTest::newRow("other country") << "+41791234567" << 129;
    QTest::newRow("+3 9 split by a space") << "+3 9123" << 129;
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
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("command");

    QTest::newRow("italian mobile") << 7 << "+393331234567" << "MARIO ROSSI"
                                    << "+CPBW=7,\"+393331234567\",145,\"MARIO ROSSI\"";
    QTest::newRow("international, plus kept") << 12 << "+41791234567" << "ZURIGO"
                                              << "+CPBW=12,\"+41791234567\",129,\"ZURIGO\"";
    QTest::newRow("empty number") << 1 << "" << "SOLO NOME" << "+CPBW=1,\"\",129,\"SOLO NOME\"";
    QTest::newRow("empty name") << 250 << "112" << "" << "+CPBW=250,\"112\",129,\"\"";
    QTest::newRow("nothing escaped") << 3 << "*100#" << "A,\"B\"" << "+CPBW=3,\"*100#\",129,\"A,\"B\"\"";
    QTest::newRow("accented name sent as it is") << 1000 << "06" << "NICOL\u00D2"
                                                 << "+CPBW=1000,\"06\",129,\"NICOL\u00D2\"";
}

void TestPhonebookCommands::writeCommand()
{
    QFETCH(int, position);
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QString, command);
    QCOMPARE(PhonebookCommands::writeCommand(position, number, name), command);
}

void TestPhonebookCommands::usimFields_data()
{
    QTest::addColumn<QString>("charset");
    QTest::addColumn<UsimFields>("fields");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QString>("tail");

    QTest::newRow("none") << "" << UsimFields() << true << "";
    QTest::newRow("cut short") << "" << UsimFields{"", "FAMIGLIA", "+390612345670", "", "", "", "", ""} << true
                               << ",\"FAMIGLIA\",\"+390612345670\"";
    // Hidden goes last in +CPBW, so the empty fields before it stay.
    QTest::newRow("hidden") << "" << UsimFields{"1", "FAMIGLIA", "393471112233", "145", "", "", "", ""} << true
                            << ",\"FAMIGLIA\",\"393471112233\",145,,,,,1";
    QTest::newRow("every field") << ""
                                 << UsimFields{"", "AMICI", "0698765", "129", "Anna Bianchi", "anna@example.org",
                                               "sip:anna@example.org", "tel:+393331234567"}
                                 << true
                                 << ",\"AMICI\",\"0698765\",129,\"Anna Bianchi\",\"anna@example.org\","
                                    "\"sip:anna@example.org\",\"tel:+393331234567\"";
    QTest::newRow("texts in UCS2, the number as it is")
        << "UCS2" << UsimFields{"", "Amici", "0698765", "", "", "", "", ""} << true
        << ",\"0041006D006900630069\",\"0698765\"";
    QTest::newRow("a text the set lacks") << "GSM" << UsimFields{"", "Niccolò", "", "", "", "", "", ""}
                                          << false << "";
}

void TestPhonebookCommands::usimFields()
{
    QFETCH(QString, charset);
    QFETCH(UsimFields, fields);
    QFETCH(bool, sent);
    QFETCH(QString, tail);

    const std::optional<QString> written =
        UsimAnswer::writeFields(fields, PhoneCharset::named(charset).value_or(PhoneCharset()));
    QCOMPARE(written.has_value(), sent);
    if (!sent)
        return;
    QCOMPARE(*written, tail);
}

void TestPhonebookCommands::clearCommand()
{
    QCOMPARE(PhonebookCommands::clearCommand(1), QStringLiteral("+CPBW=1"));
    QCOMPARE(PhonebookCommands::clearCommand(250), QStringLiteral("+CPBW=250"));
}

void TestPhonebookCommands::counterText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("counter");

    QTest::newRow("name") << "MARIO ROSSI" << 14 << "11/14";
    QTest::newRow("spaces count") << " MARIO " << 14 << "7/14";
    QTest::newRow("empty box") << "" << 20 << "0/20";
    QTest::newRow("nothing read yet") << "123" << 0 << "3/0";
}

void TestPhonebookCommands::counterText()
{
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(QString, counter);
    QCOMPARE(::counterText(text, limit), counter);
}

QTEST_GUILESS_MAIN(TestPhonebookCommands)
#include "tst_phonebookcommands.moc"
