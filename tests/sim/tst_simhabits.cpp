// SPDX-License-Identifier: GPL-3.0-or-later
// The habits of particular phones, one answer each, on a SIM holding
// positions 1 and 3.
#include "simmodem.h"

#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(SimModem::Options)

namespace {

const QByteArray kOk = "\r\nOK\r\n";
const QByteArray kMario = "\r\n+CPBR: 1,\"+393331234567\",145,\"MARIO ROSSI\"\r\n";
const QByteArray kCasa = "+CPBR: 3,\"0612345678\",129,\"Casa, ufficio\"\r\n";

SimModem::Options with(const std::function<void(SimModem::Options &)> &set)
{
    SimModem::Options options;
    set(options);
    return options;
}

} // namespace

class TestSimHabits : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void lateAnswers_data();
    void lateAnswers();
};

void TestSimHabits::answers_data()
{
    QTest::addColumn<SimModem::Options>("options");
    QTest::addColumn<QByteArrayList>("before");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("expected");

    const QByteArrayList echoOff = {"ATE0"};
    const auto writeTo = [](int index) { return "AT+CPBW=" + QByteArray::number(index) + ",\"0699\",129,\"NUOVO\""; };

    QTest::newRow("range without parentheses") << with([](auto &o) { o.rangeWithoutParentheses = true; }) << echoOff
                                               << QByteArray("AT+CPBR=?") << "\r\n+CPBR: 1-250,40,18\r\n" + kOk;
    QTest::newRow("space after every comma") << with([](auto &o) { o.spaceAfterComma = o.extraFields = true; })
                                             << echoOff << QByteArray("AT+CPBR=1")
                                             << "\r\n+CPBR: 1, \"+393331234567\", 145, \"MARIO ROSSI\", 0\r\n" + kOk;

    const auto busy = [](int cmee) {
        return with([cmee](auto &o) {
            o.simBusyAnswers = 2;
            o.cmee = cmee;
        });
    };
    QTest::newRow("SIM busy, second command") << busy(SimModem::NumberedErrors) << QByteArrayList{"ATE0", "AT+CPBS?"}
                                              << QByteArray("AT+CPBR=?") << QByteArray("\r\n+CME ERROR: 14\r\n");
    QTest::newRow("SIM busy, as text") << busy(SimModem::VerboseErrors) << echoOff << QByteArray("AT+CPBS=\"SM\"")
                                       << QByteArray("\r\n+CME ERROR: SIM busy\r\n");
    QTest::newRow("SIM busy, plain") << busy(SimModem::PlainErrors) << echoOff << QByteArray("AT+CPBR=1")
                                     << QByteArray("\r\nERROR\r\n");
    const auto pleaseWait = [busy](int cmee) {
        SimModem::Options options = busy(cmee);
        options.busyAsPleaseWait = true;
        return options;
    };
    QTest::newRow("please wait") << pleaseWait(SimModem::NumberedErrors) << echoOff << QByteArray("AT+CPBS=\"SM\"")
                                 << QByteArray("\r\n+CME ERROR: 515\r\n");
    QTest::newRow("please wait, as text")
        << pleaseWait(SimModem::VerboseErrors) << echoOff << QByteArray("AT+CPBR=1")
        << QByteArray("\r\n+CME ERROR: please wait, init or command processing in progress\r\n");
    QTest::newRow("SIM ready, busy erase not carried out")
        << busy(SimModem::NumberedErrors) << QByteArrayList{"ATE0", "AT+CPBW=1", "AT+CPBW=1"} << QByteArray("AT+CPBR=1")
        << kMario + kOk;

    const auto noRange = with([](auto &o) { o.rangeQueryRefused = true; });
    QTest::newRow("range query refused") << noRange << echoOff << QByteArray("AT+CPBR=?") << QByteArray("\r\nERROR\r\n");
    QTest::newRow("a position read all the same") << noRange << echoOff << QByteArray("AT+CPBR=1") << kMario + kOk;
    QTest::newRow("write test form refused") << with([](auto &o) { o.writeQueryRefused = true; }) << echoOff
                                             << QByteArray("AT+CPBW=?") << QByteArray("\r\nERROR\r\n");
    const auto noRangeWhenEmpty = with([](auto &o) {
        o.noRangeWhenEmpty = true;
        o.cmee = SimModem::NumberedErrors;
    });
    QTest::newRow("no range while empty") << noRangeWhenEmpty << QByteArrayList{"ATE0", "AT+CPBW=1", "AT+CPBW=3"}
                                          << QByteArray("AT+CPBR=?") << QByteArray("\r\n+CME ERROR: 23\r\n");
    QTest::newRow("a range once an entry is held")
        << noRangeWhenEmpty << QByteArrayList{"ATE0", "AT+CPBW=1"} << QByteArray("AT+CPBR=?")
        << "\r\n+CPBR: (1-250),40,18\r\n" + kOk;

    QTest::newRow("wrong index") << with([](auto &o) { o.wrongIndex = SimModem::Options::IndexSwap{2, 3}; }) << echoOff
                                 << QByteArray("AT+CPBR=2") << "\r\n" + kCasa + kOk;
    QTest::newRow("name cut in UCS2")
        << with([](auto &o) { o.nameLimitUcs2 = 3; })
        << QByteArrayList{"ATE0", "AT+CSCS=\"UCS2\"", "AT+CPBW=2,\"0612\",129,\"004E006900630063006F006C00F2\""}
        << QByteArray("AT+CPBR=2") << "\r\n+CPBR: 2,\"0612\",129,\"004E00690063\"\r\n" + kOk;
    QTest::newRow("dropped write keeps the old entry") << with([](auto &o) { o.dropWrite = 3; })
                                                       << QByteArrayList{"ATE0", writeTo(3)} << QByteArray("AT+CPBR=3")
                                                       << "\r\n" + kCasa + kOk;
    QTest::newRow("only the first write is dropped") << with([](auto &o) { o.dropWrite = 2; })
                                                     << QByteArrayList{"ATE0", writeTo(2), writeTo(2)} << QByteArray("AT+CPBR=2")
                                                     << "\r\n+CPBR: 2,\"0699\",129,\"NUOVO\"\r\n" + kOk;
    QTest::newRow("first free position") << with([](auto &o) { o.firstFree = true; })
                                         << QByteArrayList{"ATE0", writeTo(5)} << QByteArray("AT+CPBR=1,5")
                                         << kMario + "+CPBR: 2,\"0699\",129,\"NUOVO\"\r\n" + kCasa + kOk;
    QTest::newRow("silent reads after a write") << with([](auto &o) { o.silentReadsAfterWrite = true; })
                                                << QByteArrayList{writeTo(5)} << QByteArray("AT+CPBR=1") << QByteArray();

    QTest::newRow("range read refused") << with([](auto &o) {
        o.rangeReadRefused = true;
        o.cmee = SimModem::NumberedErrors;
    }) << echoOff << QByteArray("AT+CPBR=1,3") << QByteArray("\r\n+CME ERROR: 4\r\n");
    QTest::newRow("range read cut") << with([](auto &o) { o.rangeReadCut = 1; }) << echoOff
                                    << QByteArray("AT+CPBR=1,3") << kMario + kOk;
    QTest::newRow("range read above the highest bound") << with([](auto &o) {
        o.rangeReadHighest = 2;
        o.cmee = SimModem::NumberedErrors;
    }) << echoOff << QByteArray("AT+CPBR=1,3") << QByteArray("\r\n+CME ERROR: 21\r\n");

    // The codes take turns in every answer; once each has had one, the
    // place moves on.
    const auto chatty = [](const QByteArrayList &codes) { return with([codes](auto &o) { o.unsolicitedLines = codes; }); };
    QTest::newRow("unsolicited code after a setting's echo")
        << chatty({"^RSSI:14"}) << QByteArrayList() << QByteArray("ATE0") << "ATE0\r\r\n^RSSI:14\r\n" + kOk;
    QTest::newRow("unsolicited code before the information")
        << chatty({"^BOOT:1234,0,0,0,72", "^RSSI:14"}) << echoOff << QByteArray("AT+CPBS?")
        << "\r\n^RSSI:14\r\n\r\n+CPBS: \"SM\",2,250\r\n" + kOk;
    QTest::newRow("unsolicited code after the first entry")
        << chatty({"+CREG: 1"}) << echoOff << QByteArray("AT+CPBR=1,3") << kMario + "\r\n+CREG: 1\r\n" + kCasa + kOk;
    QTest::newRow("unsolicited code after the information, ended CR CR LF")
        << chatty({"^MODE: 2\r"}) << QByteArrayList{"ATE0", "AT+CPBR=?"} << QByteArray("AT+CPBR=1")
        << kMario + "\r\n^MODE: 2\r\r\n" + kOk;
    QTest::newRow("unsolicited code as an empty position's answer")
        << chatty({"+PBREADY", "PB DONE"}) << echoOff << QByteArray("AT+CPBR=2") << "\r\nPB DONE\r\n" + kOk;
    QTest::newRow("unsolicited code as a write's answer")
        << chatty({"^RSSI:14"}) << echoOff << QByteArray(writeTo(2)) << "\r\n^RSSI:14\r\n" + kOk;

    const auto ignored = with([](auto &o) { o.ignoredClears = true; });
    QTest::newRow("clear answered, not carried out") << ignored << QByteArrayList{"ATE0", "AT+CPBW=1"}
                                                     << QByteArray("AT+CPBR=1") << kMario + kOk;
    QTest::newRow("clear by empty texts answered, not carried out")
        << ignored << QByteArrayList{"ATE0", "AT+CPBW=3,\"\",129,\"\""} << QByteArray("AT+CPBR=3") << "\r\n" + kCasa + kOk;
    const auto declared = with([](auto &o) {
        o.declaredNumberLength = 20;
        o.declaredTextLength = 14;
    });
    QTest::newRow("shorter lengths declared") << declared << echoOff << QByteArray("AT+CPBR=?")
                                              << "\r\n+CPBR: (1-250),20,14\r\n" + kOk;
    QTest::newRow("longer entry than declared kept whole")
        << declared << QByteArrayList{"ATE0", "AT+CPBW=2,\"0039061234567890123456\",129,\"Zanardi Giovanni\""}
        << QByteArray("AT+CPBR=2") << "\r\n+CPBR: 2,\"0039061234567890123456\",129,\"Zanardi Giovanni\"\r\n" + kOk;

    const auto inCharset = with([](auto &o) { o.storageNameInCharset = true; });
    const QByteArrayList ucs2 = {"ATE0", "AT+CSCS=\"UCS2\""};
    QTest::newRow("storage named in UCS2") << inCharset << ucs2 << QByteArray("AT+CPBS=\"0053004D\"") << kOk;
    QTest::newRow("storage answered in UCS2") << inCharset << ucs2 << QByteArray("AT+CPBS?")
                                              << "\r\n+CPBS: \"0053004D\",2,250\r\n" + kOk;
    QTest::newRow("plain storage name refused in UCS2") << inCharset << ucs2 << QByteArray("AT+CPBS=\"SM\"")
                                                        << QByteArray("\r\nERROR\r\n");

    const auto digits = with([](auto &o) { o.numbersAsDigits = true; });
    QTest::newRow("digits only: 129 drops the plus")
        << digits << QByteArrayList{"ATE0", "AT+CPBW=2,\"+41791234567\",129,\"ZURIGO\""} << QByteArray("AT+CPBR=2")
        << "\r\n+CPBR: 2,\"41791234567\",129,\"ZURIGO\"\r\n" + kOk;
    QTest::newRow("digits only: 145 is the plus")
        << digits << QByteArrayList{"ATE0", "AT+CPBW=2,\"41791234567\",145,\"ZURIGO\""} << QByteArray("AT+CPBR=2")
        << "\r\n+CPBR: 2,\"+41791234567\",145,\"ZURIGO\"\r\n" + kOk;

    // "Ni" kept as the text "004E0069".
    QTest::newRow("UCS2 write keeps the hex digits")
        << with([](auto &o) { o.ucs2WriteKeepsHex = true; }) << ucs2 + QByteArrayList{"AT+CPBW=2,\"0612\",129,\"004E0069\""}
        << QByteArray("AT+CPBR=2") << "\r\n+CPBR: 2,\"0612\",129,\"00300030003400450030003000360039\"\r\n" + kOk;
    const auto quarter = with([](auto &o) {
        o.ucs2NameInQuarterField = true;
        o.cmee = SimModem::NumberedErrors;
    });
    QTest::newRow("UCS2 name over a quarter of the field refused")
        << quarter << ucs2 << QByteArray("AT+CPBW=2,\"0612\",129,\"004E00690063006F006C0061\"")
        << QByteArray("\r\n+CME ERROR: 24\r\n");
    QTest::newRow("the same name taken in IRA") << quarter << QByteArrayList{"ATE0", "AT+CPBW=2,\"0612\",129,\"Nicola\""}
                                                << QByteArray("AT+CPBR=2")
                                                << "\r\n+CPBR: 2,\"0612\",129,\"Nicola\"\r\n" + kOk;
}

void TestSimHabits::answers()
{
    QFETCH(SimModem::Options, options);
    QFETCH(QByteArrayList, before);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, expected);

    SimModem modem;
    SimPhonebook sim;
    sim.entries.insert(1, SimEntry{QStringLiteral("+393331234567"), 145, QStringLiteral("MARIO ROSSI")});
    sim.entries.insert(3, SimEntry{QStringLiteral("0612345678"), 129, QStringLiteral("Casa, ufficio")});
    modem.setPhonebooks({{SimStorage::Sim, sim}});
    modem.setOptions(options);
    for (const QByteArray &command : before)
        modem.respond(command);
    QCOMPARE(modem.respond(line), expected);
    // Whatever the answer, the phone counts the line among those received.
    QCOMPARE(modem.commands().size(), before.size() + 1);
    QCOMPARE(modem.commands().last(), QString::fromLatin1(line));
}

void TestSimHabits::lateAnswers_data()
{
    // The SIM's busy answers after power-on, the lines before, and the line
    // whose answer comes late or not.
    QTest::addColumn<int>("busyAnswers");
    QTest::addColumn<QByteArrayList>("before");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("lateMs");

    QTest::newRow("the range query") << 0 << QByteArrayList() << QByteArray("AT+CPBR=?") << 0;
    QTest::newRow("the first read of a position")
        << 0 << QByteArrayList{"AT+CPBS=\"SM\"", "AT+CPBR=?"} << QByteArray("AT+CPBR=1") << 4000;
    QTest::newRow("the first read of a range") << 0 << QByteArrayList() << QByteArray("AT+CPBR=1,3") << 4000;
    QTest::newRow("the second read") << 0 << QByteArrayList{"AT+CPBR=2"} << QByteArray("AT+CPBR=1") << 0;
    QTest::newRow("a busy answer") << 1 << QByteArrayList() << QByteArray("AT+CPBR=1") << 0;
    QTest::newRow("the first read carried out, after a busy answer")
        << 1 << QByteArrayList{"AT+CPBR=1"} << QByteArray("AT+CPBR=1") << 4000;
}

// The delay counts once from power-on, for the first read the SIM carries
// out.
void TestSimHabits::lateAnswers()
{
    QFETCH(int, busyAnswers);
    QFETCH(QByteArrayList, before);
    QFETCH(QByteArray, line);
    QFETCH(int, lateMs);

    SimModem modem;
    SimModem::Options options;
    options.firstReadDelayMs = 4000;
    options.simBusyAnswers = busyAnswers;
    modem.setOptions(options);
    for (const QByteArray &command : before)
        modem.execute(command);
    QCOMPARE(modem.execute(line).lateMs, lateMs);
}

QTEST_GUILESS_MAIN(TestSimHabits)
#include "tst_simhabits.moc"
