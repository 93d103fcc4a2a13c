// SPDX-License-Identifier: GPL-3.0-or-later
#include "atparameters.h"
#include "simmodem.h"

#include <QtTest>

namespace {

const QString kModel = QStringLiteral("TESTFONO 1");

SimModem::Options optionsNamed(const QString &names)
{
    SimModem::Options options;
    if (names == QLatin1String("strict"))
        return SimModem::Options::strict();
    options.quotedStrings = names.contains(QLatin1String("quoted"));
    if (names.contains(QLatin1String("cmetext")))
        options.cmee = SimModem::VerboseErrors;
    else if (names.contains(QLatin1String("cme")))
        options.cmee = SimModem::NumberedErrors;
    if (names.contains(QLatin1String("notfound")))
        options.emptyPosition = SimModem::Options::EmptyPosition::NotFound;
    options.extraFields = names.contains(QLatin1String("extras"));
    options.internationalWithoutPlus = names.contains(QLatin1String("noplus"));
    return options;
}

SimPhonebooks testPhonebooks()
{
    SimPhonebook sim;
    sim.entries.insert(1, SimEntry{QStringLiteral("+393331234567"), 145, QStringLiteral("MARIO ROSSI")});
    sim.entries.insert(3, SimEntry{QStringLiteral("0612345678"), 129, QStringLiteral("Casa, ufficio")});
    SimPhonebook memory;
    memory.last = 500;
    memory.textLength = 20;
    return {{SimStorage::Sim, sim}, {SimStorage::PhoneMemory, memory}};
}

} // namespace

class TestSimModem : public QObject {
    Q_OBJECT

private:
    SimModem makeModem(const QString &options)
    {
        SimModem modem;
        modem.setModel(kModel);
        modem.setPhonebooks(testPhonebooks());
        modem.setOptions(optionsNamed(options));
        return modem;
    }

private slots:
    void answers_data();
    void answers();
    void writesReachThePhonebook_data();
    void writesReachThePhonebook();
    void charsetsOnTheLine_data();
    void charsetsOnTheLine();
    void recordsCommandLines();
    void refusalLeavesThePhonebookAlone();
    void replacingPhonebooksKeepsTheSelection();
    void splitsParameters_data();
    void splitsParameters();
};

void TestSimModem::answers_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QByteArrayList>("before");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");

    const QByteArrayList echoOff = {"ATE0"};
    const QByteArray ok = "\r\nOK\r\n";
    const QByteArray error = "\r\nERROR\r\n";
    const QByteArray mario = "\r\n+CPBR: 1,\"+393331234567\",145,\"MARIO ROSSI\"\r\n";

    // Echo and result code framing.
    QTest::newRow("reset echoed at power-up") << "" << QByteArrayList{} << QByteArray("ATZ") << QByteArray("ATZ\r\r\nOK\r\n");
    QTest::newRow("E0 still echoes itself") << "" << QByteArrayList{} << QByteArray("ATE0") << QByteArray("ATE0\r\r\nOK\r\n");
    QTest::newRow("no echo after E0") << "" << echoOff << QByteArray("AT") << ok;
    QTest::newRow("Z turns echo back on") << "" << QByteArrayList{"ATE0", "ATZ"} << QByteArray("AT") << QByteArray("AT\r\r\nOK\r\n");
    QTest::newRow("Z back to verbose") << "" << QByteArrayList{"ATV0"} << QByteArray("ATZ") << QByteArray("ATZ\r\r\nOK\r\n");
    QTest::newRow("lower-case prefix") << "" << echoOff << QByteArray("at+cgmm") << QByteArray("\r\nTESTFONO 1\r\n\r\nOK\r\n");
    QTest::newRow("concatenated basic commands") << "" << QByteArrayList{} << QByteArray("ATE0Q0V1") << QByteArray("ATE0Q0V1\r\r\nOK\r\n");
    QTest::newRow("Q1 drops result codes") << "" << QByteArrayList{"ATE0", "ATQ1"} << QByteArray("AT+CPBR=1") << mario;
    QTest::newRow("Q1 drops errors too") << "" << QByteArrayList{"ATE0", "ATQ1"} << QByteArray("AT+CPBR=999") << QByteArray();
    QTest::newRow("V0 answers with a digit") << "" << echoOff << QByteArray("ATV0") << QByteArray("0\r");
    QTest::newRow("V0 error digit") << "" << QByteArrayList{"ATE0", "ATV0"} << QByteArray("AT+XYZ") << QByteArray("4\r");
    QTest::newRow("V0 information text") << "" << QByteArrayList{"ATE0", "ATV0"} << QByteArray("AT+CPBR=1")
                                         << QByteArray("+CPBR: 1,\"+393331234567\",145,\"MARIO ROSSI\"\r\n0\r");
    QTest::newRow("unknown basic command") << "" << QByteArrayList{} << QByteArray("ATX") << QByteArray("ATX\r\r\nERROR\r\n");
    QTest::newRow("E2 is no setting") << "" << echoOff << QByteArray("ATE2") << error;
    QTest::newRow("unknown extended command") << "cme" << echoOff << QByteArray("AT+CMGL") << error;
    QTest::newRow("not a command line") << "" << QByteArrayList{} << QByteArray("HELLO") << QByteArray();

    // Error reporting.
    QTest::newRow("+CMEE at power-on") << "cme" << echoOff << QByteArray("AT+CMEE?") << QByteArray("\r\n+CMEE: 1\r\n\r\nOK\r\n");
    QTest::newRow("+CMEE set") << "" << echoOff << QByteArray("AT+CMEE=2;+CMEE?") << QByteArray("\r\n+CMEE: 2\r\n\r\nOK\r\n");
    QTest::newRow("+CMEE 3 is no setting") << "" << echoOff << QByteArray("AT+CMEE=3") << error;
    QTest::newRow("Z keeps +CMEE") << "" << QByteArrayList{"AT+CMEE=1", "ATZ", "ATE0"} << QByteArray("AT+CPBR=251")
                                   << QByteArray("\r\n+CME ERROR: 21\r\n");
    QTest::newRow("error as text") << "cmetext" << echoOff << QByteArray("AT+CPBR=251") << QByteArray("\r\n+CME ERROR: invalid index\r\n");

    // Phonebook selection.
    QTest::newRow("unquoted storage") << "" << echoOff << QByteArray("AT+CPBS=ME;+CPBS?") << QByteArray("\r\n+CPBS: \"ME\",0,500\r\n\r\nOK\r\n");
    QTest::newRow("quoted storage") << "" << echoOff << QByteArray("AT+CPBS=\"ME\";+CPBS?") << QByteArray("\r\n+CPBS: \"ME\",0,500\r\n\r\nOK\r\n");
    QTest::newRow("strict wants quotes") << "strict" << echoOff << QByteArray("AT+CPBS=SM") << error;
    QTest::newRow("strict with quotes") << "strict" << echoOff << QByteArray("AT+CPBS=\"SM\"") << ok;
    QTest::newRow("unknown storage") << "" << echoOff << QByteArray("AT+CPBS=\"FD\"") << error;
    QTest::newRow("unknown storage, CME") << "cme" << echoOff << QByteArray("AT+CPBS=\"FD\"") << QByteArray("\r\n+CME ERROR: 4\r\n");
    QTest::newRow("storage count") << "" << echoOff << QByteArray("AT+CPBS?") << QByteArray("\r\n+CPBS: \"SM\",2,250\r\n\r\nOK\r\n");
    QTest::newRow("storage list") << "" << echoOff << QByteArray("AT+CPBS=?") << QByteArray("\r\n+CPBS: (\"SM\",\"ME\")\r\n\r\nOK\r\n");
    QTest::newRow("Z keeps the storage") << "" << QByteArrayList{"AT+CPBS=ME", "ATZ", "ATE0"} << QByteArray("AT+CPBS?")
                                         << QByteArray("\r\n+CPBS: \"ME\",0,500\r\n\r\nOK\r\n");

    // Reading.
    QTest::newRow("range query") << "" << echoOff << QByteArray("AT+CPBR=?") << QByteArray("\r\n+CPBR: (1-250),40,18\r\n\r\nOK\r\n");
    QTest::newRow("range query, extras") << "extras" << echoOff << QByteArray("AT+CPBR=?")
                                         << QByteArray("\r\n+CPBR: (1-250),40,18,,,,40,20\r\n\r\nOK\r\n");
    QTest::newRow("range query of ME") << "" << QByteArrayList{"ATE0", "AT+CPBS=ME"} << QByteArray("AT+CPBR=?")
                                       << QByteArray("\r\n+CPBR: (1-500),40,20\r\n\r\nOK\r\n");
    QTest::newRow("entry") << "" << echoOff << QByteArray("AT+CPBR=1") << mario + ok;
    QTest::newRow("entry with echo") << "" << QByteArrayList{} << QByteArray("AT+CPBR=1") << "AT+CPBR=1\r" + mario + ok;
    QTest::newRow("entry, extras") << "extras" << echoOff << QByteArray("AT+CPBR=1")
                                   << QByteArray("\r\n+CPBR: 1,\"+393331234567\",145,\"MARIO ROSSI\",0\r\n\r\nOK\r\n");
    QTest::newRow("international without +") << "noplus" << echoOff << QByteArray("AT+CPBR=1")
                                              << QByteArray("\r\n+CPBR: 1,\"393331234567\",145,\"MARIO ROSSI\"\r\n\r\nOK\r\n");
    QTest::newRow("strict entry") << "strict" << echoOff << QByteArray("AT+CPBR=1")
                                  << QByteArray("\r\n+CPBR: 1,\"393331234567\",145,\"MARIO ROSSI\",0\r\n\r\nOK\r\n");
    QTest::newRow("name with a comma") << "" << echoOff << QByteArray("AT+CPBR=3")
                                       << QByteArray("\r\n+CPBR: 3,\"0612345678\",129,\"Casa, ufficio\"\r\n\r\nOK\r\n");
    QTest::newRow("empty position") << "" << echoOff << QByteArray("AT+CPBR=2") << ok;
    QTest::newRow("range of positions") << "" << echoOff << QByteArray("AT+CPBR=1,5")
                                        << QByteArray("\r\n+CPBR: 1,\"+393331234567\",145,\"MARIO ROSSI\"\r\n"
                                                      "+CPBR: 3,\"0612345678\",129,\"Casa, ufficio\"\r\n\r\nOK\r\n");
    QTest::newRow("range with nothing in it") << "" << echoOff << QByteArray("AT+CPBR=4,250") << ok;
    QTest::newRow("empty position not found") << "notfound cme" << echoOff << QByteArray("AT+CPBR=2")
                                              << QByteArray("\r\n+CME ERROR: 22\r\n");
    QTest::newRow("empty position not found, as text") << "notfound cmetext" << echoOff << QByteArray("AT+CPBR=2")
                                                       << QByteArray("\r\n+CME ERROR: not found\r\n");
    QTest::newRow("empty position not found, plain") << "notfound" << echoOff << QByteArray("AT+CPBR=2") << error;
    QTest::newRow("entry on a not-found phone") << "notfound cme" << echoOff << QByteArray("AT+CPBR=1") << mario + ok;
    QTest::newRow("index 0") << "" << echoOff << QByteArray("AT+CPBR=0") << error;
    QTest::newRow("index past the end, CME") << "cme" << echoOff << QByteArray("AT+CPBR=251") << QByteArray("\r\n+CME ERROR: 21\r\n");
    QTest::newRow("range past the end") << "cme" << echoOff << QByteArray("AT+CPBR=1,251") << QByteArray("\r\n+CME ERROR: 21\r\n");
    QTest::newRow("range backwards") << "cme" << echoOff << QByteArray("AT+CPBR=5,1") << QByteArray("\r\n+CME ERROR: 3\r\n");
    QTest::newRow("index not a number") << "cme" << echoOff << QByteArray("AT+CPBR=x") << error;
    QTest::newRow("read without index") << "" << echoOff << QByteArray("AT+CPBR=") << error;

    // Writing: the limits, the syntax and the error that ends the line.
    QTest::newRow("write test form") << "" << echoOff << QByteArray("AT+CPBW=?") << QByteArray("\r\n+CPBW: (1-250),40,(129,145),18\r\n\r\nOK\r\n");
    QTest::newRow("write past the end") << "" << echoOff << QByteArray("AT+CPBW=251,\"1\",129,\"A\"") << error;
    QTest::newRow("write past the end, CME") << "cme" << echoOff << QByteArray("AT+CPBW=251,\"1\",129,\"A\"") << QByteArray("\r\n+CME ERROR: 21\r\n");
    QTest::newRow("erase past the end, CME") << "cme" << echoOff << QByteArray("AT+CPBW=0") << QByteArray("\r\n+CME ERROR: 21\r\n");
    QTest::newRow("text one too long") << "cme" << echoOff << QByteArray("AT+CPBW=2,\"1\",129,\"ABCDEFGHIJKLMNOPQRS\"") << QByteArray("\r\n+CME ERROR: 24\r\n");
    QTest::newRow("text too long, plain") << "" << echoOff << QByteArray("AT+CPBW=2,\"1\",129,\"ABCDEFGHIJKLMNOPQRS\"") << error;
    QTest::newRow("text at the limit") << "cme" << echoOff << QByteArray("AT+CPBW=2,\"1\",129,\"ABCDEFGHIJKLMNOPQR\"") << ok;
    QTest::newRow("number one too long") << "cme" << echoOff << "AT+CPBW=2,\"" + QByteArray(41, '5') + "\",129,\"A\"" << QByteArray("\r\n+CME ERROR: 26\r\n");
    QTest::newRow("number at the limit") << "cme" << echoOff << "AT+CPBW=2,\"" + QByteArray(40, '5') + "\",129,\"A\"" << ok;
    QTest::newRow("strict wants a quoted number") << "strict" << echoOff << QByteArray("AT+CPBW=2,0612,129,\"A\"") << error;
    QTest::newRow("unterminated text") << "" << echoOff << QByteArray("AT+CPBW=2,\"0612\",129,\"A") << error;
    QTest::newRow("type not a number") << "" << echoOff << QByteArray("AT+CPBW=2,\"0612\",x,\"A\"") << error;
    QTest::newRow("type out of range") << "" << echoOff << QByteArray("AT+CPBW=2,\"0612\",300,\"A\"") << error;
    QTest::newRow("error ends the line") << "" << echoOff << QByteArray("AT+CPBW=251;+CPBR=1") << error;
    QTest::newRow("hidden is 0 or 1") << "" << echoOff << QByteArray("AT+CPBW=2,\"0612\",129,\"A\",,,,,,,,2") << error;
    QTest::newRow("13 parameters") << "" << echoOff << QByteArray("AT+CPBW=2,\"0612\",129,\"A\",,,,,,,,0,") << error;

    // The USIM fields: texts taken in one set and read back in another.
    const QByteArray usimWrite = "AT+CPBW=2,\"0612\",129,\"A\",\"AMICI\",\"393471112233\",145,\"B\",\"a@b.it\",\"sip:a@b.it\",\"tel:+39\",1";
    QTest::newRow("USIM fields, strict") << "strict"
                                         << QByteArrayList{"ATE0", "AT+CSCS=\"UCS2\"",
                                                           "AT+CPBW=2,\"0612\",129,\"00E0\",\"00E8\",\"393471112233\",145,"
                                                           "\"00E9\",\"00F9\",\"00EC\",\"00F2\",1",
                                                           "AT+CSCS=\"GSM\""}
                                         << QByteArray("AT+CPBR=2")
                                         << QByteArray("\r\n+CPBR: 2,\"0612\",129,\"\x7f\",1,\"\x04\",\"393471112233\",145,"
                                                       "\"\x05\",\"\x06\",\"\x07\",\"\x08\"\r\n\r\nOK\r\n");
    QTest::newRow("USIM fields, lenient") << "" << QByteArrayList{"ATE0", usimWrite} << QByteArray("AT+CPBR=2")
                                          << QByteArray("\r\n+CPBR: 2,\"0612\",129,\"A\"\r\n\r\nOK\r\n");
    QTest::newRow("rewrite clears USIM fields") << "strict"
                                                << QByteArrayList{"ATE0", usimWrite, "AT+CPBW=2,\"0612\",129,\"A\",\"AMICI\""}
                                                << QByteArray("AT+CPBR=2")
                                                << QByteArray("\r\n+CPBR: 2,\"0612\",129,\"A\",0,\"AMICI\"\r\n\r\nOK\r\n");
}

void TestSimModem::answers()
{
    QFETCH(QString, options);
    QFETCH(QByteArrayList, before);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);

    SimModem modem = makeModem(options);
    for (const QByteArray &command : before)
        modem.respond(command);
    QCOMPARE(modem.respond(line), expected);
}

void TestSimModem::writesReachThePhonebook_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("occupied");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("full form") << "" << QByteArray("AT+CPBW=2,\"0498765432\",129,\"Citta\"") << 2 << true
                               << "0498765432" << 129 << "Citta";
    QTest::newRow("type given as 145") << "" << QByteArray("AT+CPBW=2,\"393331112222\",145,\"ZIO\"") << 2 << true
                                       << "393331112222" << 145 << "ZIO";
    QTest::newRow("type defaults to 145 after +") << "" << QByteArray("AT+CPBW=2,\"+41791234567\"") << 2 << true
                                                  << "+41791234567" << 145 << "";
    QTest::newRow("type defaults to 129") << "" << QByteArray("AT+CPBW=2,\"0612\",,\"X\"") << 2 << true << "0612" << 129 << "X";
    QTest::newRow("unquoted when lenient") << "" << QByteArray("AT+CPBW=2,0612,129,CASA") << 2 << true << "0612" << 129 << "CASA";
    QTest::newRow("name with commas") << "strict" << QByteArray("AT+CPBW=2,\"0612\",129,\"Rossi, Mario, uff\"") << 2 << true
                                      << "0612" << 129 << "Rossi, Mario, uff";
    QTest::newRow("name with a double quote") << "" << QByteArray("AT+CPBW=2,\"0612\",129,\"Bar \"Sport\"\"") << 2 << true
                                              << "0612" << 129 << "Bar \"Sport\"";
    QTest::newRow("empty number kept") << "" << QByteArray("AT+CPBW=2,\"\",129,\"SOLO NOME\"") << 2 << true << "" << 129 << "SOLO NOME";
    QTest::newRow("overwrite") << "" << QByteArray("AT+CPBW=1,\"0612\",129,\"NUOVO\"") << 1 << true << "0612" << 129 << "NUOVO";
    QTest::newRow("erase") << "" << QByteArray("AT+CPBW=1") << 1 << false << "" << 0 << "";
    QTest::newRow("erase an empty position") << "" << QByteArray("AT+CPBW=2") << 2 << false << "" << 0 << "";
    QTest::newRow("empty number and name erase") << "" << QByteArray("AT+CPBW=3,\"\",129,\"\"") << 3 << false << "" << 0 << "";
    QTest::newRow("refused write leaves it") << "" << QByteArray("AT+CPBW=1,\"0612\",129,\"ABCDEFGHIJKLMNOPQRSTU\"") << 1 << true
                                             << "+393331234567" << 145 << "MARIO ROSSI";
}

void TestSimModem::writesReachThePhonebook()
{
    QFETCH(QString, options);
    QFETCH(QByteArray, write);
    QFETCH(int, index);
    QFETCH(bool, occupied);

    SimModem modem = makeModem(options);
    modem.respond(write);
    const QMap<int, SimEntry> entries = modem.phonebooks().value(SimStorage::Sim).entries;
    QCOMPARE(entries.contains(index), occupied);
    if (occupied) {
        QFETCH(QString, number);
        QFETCH(int, type);
        QFETCH(QString, text);
        QCOMPARE(entries.value(index), (SimEntry{number, type, text}));
    }
    // Nothing but the written position changes.
    QMap<int, SimEntry> others = entries;
    others.remove(index);
    QMap<int, SimEntry> before = testPhonebooks().value(SimStorage::Sim).entries;
    before.remove(index);
    QVERIFY(others == before);
}

// The bytes of real phones' answers, each set converted by the phone on its
// own: a name read comes as these bytes, and these bytes written store it.
void TestSimModem::charsetsOnTheLine_data()
{
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    // Reading the text gives the bytes; writing the bytes keeps the text.
    // Neither: a write of the bytes is refused.
    QTest::addColumn<bool>("sent");
    QTest::addColumn<bool>("taken");

    QTest::newRow("UCS2") << "UCS2" << QStringLiteral("Niccolò") << QByteArray("004E006900630063006F006C00F2") << true << true;
    QTest::newRow("UCS2 surrogate pair") << "UCS2" << QStringLiteral("Zoe \U0001F600")
                                         << QByteArray("005A006F00650020D83DDE00") << true << true;
    QTest::newRow("UCS2 lone surrogate") << "UCS2" << QString() << QByteArray("005A006F0065D800") << false << false;
    QTest::newRow("GSM") << "GSM" << QStringLiteral("Niccolò") << QByteArray("Niccol\x08") << true << true;
    QTest::newRow("GSM accents, @ and Å") << "GSM" << QStringLiteral("èéùìòà@Å")
                                           << QByteArray("\x04\x05\x06\x07\x08\x7f\x00\x0e", 8) << true << true;
    QTest::newRow("GSM extension") << "GSM" << QStringLiteral("€[]{}~^|\\\f")
                                   << QByteArray("\x1b\x65\x1b\x3c\x1b\x3e\x1b\x28\x1b\x29\x1b\x3d\x1b\x14\x1b\x40\x1b\x2f\x1b\x0a")
                                   << true << true;
    QTest::newRow("GSM lacks Ł") << "GSM" << QStringLiteral("Łukasz") << QByteArray("?ukasz") << true << false;
    QTest::newRow("GSM byte above 0x7F") << "GSM" << QString() << QByteArray("Citt\xe0") << false << false;
    QTest::newRow("IRA lacks ò") << "IRA" << QStringLiteral("Niccolò") << QByteArray("Niccol?") << true << false;
    QTest::newRow("IRA pair is one character") << "IRA" << QStringLiteral("Zoe \U0001F600") << QByteArray("Zoe ?") << true << false;
    QTest::newRow("IRA byte above 0x7F") << "IRA" << QString() << QByteArray("Niccol\xf2") << false << false;
    QTest::newRow("8859-1") << "8859-1" << QStringLiteral("Niccolò") << QByteArray("Niccol\xf2") << true << true;
    QTest::newRow("8859-1 lacks €") << "8859-1" << QStringLiteral("5 €") << QByteArray("5 ?") << true << false;
}

void TestSimModem::charsetsOnTheLine()
{
    QFETCH(QString, charset);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, sent);
    QFETCH(bool, taken);

    SimModem modem = makeModem(QString());
    modem.respond("ATE0");
    QCOMPARE(modem.respond("AT+CSCS=\"" + charset.toLatin1() + '"'), QByteArray("\r\nOK\r\n"));
    if (sent) {
        SimPhonebooks books = modem.phonebooks();
        books[SimStorage::Sim].entries.insert(8, SimEntry{QStringLiteral("+393285556677"), 145, text});
        modem.setPhonebooks(books);
        QCOMPARE(modem.respond("AT+CPBR=8"), "\r\n+CPBR: 8,\"+393285556677\",145,\"" + bytes + "\"\r\n\r\nOK\r\n");
    }
    const QByteArray answer = modem.respond("AT+CPBW=9,\"0612\",129,\"" + bytes + '"');
    const QMap<int, SimEntry> entries = modem.phonebooks().value(SimStorage::Sim).entries;
    if (taken) {
        QCOMPARE(answer, QByteArray("\r\nOK\r\n"));
        QCOMPARE(entries.value(9).text, text);
    } else if (!sent) {
        QCOMPARE(answer, QByteArray("\r\nERROR\r\n"));
        QVERIFY(!entries.contains(9));
    }
}

void TestSimModem::recordsCommandLines()
{
    SimModem modem = makeModem(QString());
    modem.respond("ATZ");
    modem.respond("garbage");
    modem.respond("AT+CPBW=1,\"0612\",129,\"Nicol\xf2\"");
    modem.refuse("AT+CPBW=2");
    modem.record("AT+CGMM");
    QCOMPARE(modem.commands(), (QStringList{QStringLiteral("ATZ"), QStringLiteral("AT+CPBW=1,\"0612\",129,\"Nicol\u00f2\""),
                                            QStringLiteral("AT+CPBW=2"), QStringLiteral("AT+CGMM")}));
    modem.clearCommands();
    QVERIFY(modem.commands().isEmpty());
}

void TestSimModem::refusalLeavesThePhonebookAlone()
{
    SimModem modem = makeModem(QStringLiteral("cme"));
    QCOMPARE(modem.refuse("AT+CPBW=1").bytes(), QByteArray("AT+CPBW=1\r\r\nERROR\r\n"));
    QVERIFY(modem.phonebooks().value(SimStorage::Sim).entries.contains(1));
    modem.respond("ATE0V0");
    QCOMPARE(modem.refuse("AT+CPBW=1").bytes(), QByteArray("4\r"));
}

void TestSimModem::replacingPhonebooksKeepsTheSelection()
{
    SimModem modem = makeModem(QString());
    modem.respond("AT+CPBS=ME");
    modem.setPhonebooks(testPhonebooks());
    QCOMPARE(modem.selectedStorage(), SimStorage::PhoneMemory);
    modem.setPhonebooks({{SimStorage::Sim, SimPhonebook()}});
    QCOMPARE(modem.selectedStorage(), SimStorage::Sim);
}

void TestSimModem::splitsParameters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    // Each parameter as q"value" (quoted), u"value" (unquoted) or - (omitted).
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing") << QByteArray("") << true << QStringList{};
    QTest::newRow("one number") << QByteArray("7") << true << QStringList{"u7"};
    QTest::newRow("full write") << QByteArray("5,\"0612\",129,\"CASA\"") << true << QStringList{"u5", "q0612", "u129", "qCASA"};
    QTest::newRow("spaces outside quotes") << QByteArray(" 5 , \" A B \" ") << true << QStringList{"u5", "q A B "};
    QTest::newRow("omitted middle") << QByteArray("5,\"1\",,\"X\"") << true << QStringList{"u5", "q1", "-", "qX"};
    QTest::newRow("trailing comma") << QByteArray("5,") << true << QStringList{"u5", "-"};
    QTest::newRow("empty string") << QByteArray("\"\"") << true << QStringList{"q"};
    QTest::newRow("commas inside") << QByteArray("\"a,b\",\"c\"") << true << QStringList{"qa,b", "qc"};
    QTest::newRow("quote inside") << QByteArray("\"a\"b\"") << true << QStringList{"qa\"b"};
    QTest::newRow("unterminated") << QByteArray("5,\"abc") << false << QStringList{};
    QTest::newRow("stray quote") << QByteArray("5a\"") << false << QStringList{};
}

void TestSimModem::splitsParameters()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(QStringList, expected);

    QList<AtParameter> parameters;
    QCOMPARE(AtParameters::split(text, &parameters), ok);
    if (!ok)
        return;
    QStringList got;
    for (const AtParameter &parameter : parameters) {
        if (!parameter.present && !parameter.quoted)
            got.append(QStringLiteral("-"));
        else
            got.append((parameter.quoted ? QStringLiteral("q") : QStringLiteral("u")) + QString::fromLatin1(parameter.value));
    }
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TestSimModem)
#include "tst_simmodem.moc"
