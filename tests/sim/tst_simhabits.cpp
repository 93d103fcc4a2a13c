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
    QTest::newRow("SIM ready, busy erase not carried out")
        << busy(SimModem::NumberedErrors) << QByteArrayList{"ATE0", "AT+CPBW=1", "AT+CPBW=1"} << QByteArray("AT+CPBR=1")
        << kMario + kOk;

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

QTEST_GUILESS_MAIN(TestSimHabits)
#include "tst_simhabits.moc"
