#include "atanswer.h"

#include <QTest>

using AtAnswer::FinalResult;
using Final = AtReply::Final;

Q_DECLARE_METATYPE(AtAnswer::FinalResult)
Q_DECLARE_METATYPE(AtReply::Final)

class TestAtAnswer : public QObject {
    Q_OBJECT
private slots:
    void finalResult_data();
    void finalResult();
    void reply_data();
    void reply();
    void isDecimal_data();
    void isDecimal();
    void clean_data();
    void clean();
    void withoutUnsolicited_data();
    void withoutUnsolicited();
};

void TestAtAnswer::finalResult_data()
{
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<FinalResult>("expected");

    QTest::newRow("empty") << "" << FinalResult::None;
    QTest::newRow("ok") << "\r\nOK\r\n" << FinalResult::Ok;
    QTest::newRow("ok lower case") << "\r\nok\r\n" << FinalResult::Ok;
    QTest::newRow("error mixed case") << "\r\nError\r\n" << FinalResult::Error;
    QTest::newRow("ok after information") << "\r\n+CGMM: X\r\n\r\nOK\r\n" << FinalResult::Ok;
    QTest::newRow("ok after echo") << "ATZ\r\r\nOK\r\n" << FinalResult::Ok;
    QTest::newRow("bare ok") << "OK" << FinalResult::None;
    QTest::newRow("ok without final crlf") << "\r\nOK" << FinalResult::None;
    QTest::newRow("ok without leading crlf") << "OK\r\n" << FinalResult::None;
    QTest::newRow("ok inside a word") << "\r\nOKAY\r\n" << FinalResult::None;
    QTest::newRow("ok in a name") << "\r\n+CPBR: 1,\"1\",129,\"OK\"\r\n" << FinalResult::None;
    QTest::newRow("cme error") << "\r\n+CME ERROR: 22\r\n" << FinalResult::Error;
    QTest::newRow("cme error as text") << "\r\n+CME ERROR: not found\r\n" << FinalResult::Error;
    QTest::newRow("cme error still arriving") << "\r\n+CME ERROR: 2" << FinalResult::None;
    QTest::newRow("cme error not on its own line") << "\r\nX+CME ERROR: 3\r\n" << FinalResult::None;
}

void TestAtAnswer::finalResult()
{
    QFETCH(QString, buffer);
    QFETCH(FinalResult, expected);
    QCOMPARE(AtAnswer::finalResult(buffer), expected);
}

void TestAtAnswer::reply_data()
{
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<Final>("final");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("unsolicited");
    // -1: no number.
    QTest::addColumn<int>("cmeNumber");
    QTest::addColumn<QString>("cmeText");
    QTest::addColumn<bool>("notFound");
    QTest::addColumn<bool>("simBusy");

    const QStringList none;
    QTest::newRow("incomplete") << "\r\n+CME ERROR: 22" << Final::NoAnswer << none << none << -1 << "" << false
                                << false;
    QTest::newRow("ok lower case") << "\r\n+CPBR: 1\r\n\r\nok\r\n" << Final::Ok << QStringList{"+CPBR: 1"} << none
                                   << -1 << "" << false << false;
    QTest::newRow("error") << "\r\nERROR\r\n" << Final::Error << none << none << -1 << "" << false << false;
    QTest::newRow("information before an error is no answer")
        << "\r\n+CPBR: 7,\"1\"\r\n\r\nERROR\r\n" << Final::Error << none << none << -1 << "" << false << false;
    QTest::newRow("not found") << "AT+CPBR=2\r\r\n+CME ERROR: 22\r\n" << Final::CmeError << none << none << 22
                               << "22" << true << false;
    QTest::newRow("not found as text") << "\r\nRING\r\n\r\n+CME ERROR: Not Found\r\n" << Final::CmeError << none
                                       << QStringList{"RING"} << -1 << "Not Found" << true << false;
    // The ring moves the error line to the buffer's start; the cleaning then
    // cut "+CME ERR" out of it and the read took that for garbage.
    QTest::newRow("ring right before not found") << "\r\nRING\r\n+CME ERROR: 22\r\n" << Final::CmeError << none
                                                 << QStringList{"RING"} << 22 << "22" << true << false;
    QTest::newRow("not found without the space") << "\r\n+CME ERROR:22\r\n" << Final::CmeError << none << none
                                                 << 22 << "22" << true << false;
    QTest::newRow("invalid index") << "\r\n+CME ERROR: 21\r\n" << Final::CmeError << none << none << 21 << "21"
                                   << false << false;
    QTest::newRow("code 220") << "\r\n+CME ERROR: 220\r\n" << Final::CmeError << none << none << 220 << "220"
                              << false << false;
    QTest::newRow("sim busy") << "\r\n+CME ERROR: 14\r\n" << Final::CmeError << none << none << 14 << "14" << false
                              << true;
    QTest::newRow("sim busy as text") << "\r\n+cme error: sim BUSY\r\n" << Final::CmeError << none << none << -1
                                      << "sim BUSY" << false << true;
    QTest::newRow("plain and extended") << "\r\n+CME ERROR: 22\r\n\r\nERROR\r\n" << Final::Error << none << none
                                        << -1 << "" << false << false;
    QTest::newRow("an error and an OK in one buffer") << "\r\n+CME ERROR: 3\r\n\r\nOK\r\n" << Final::CmeError << none
                                                      << none << 3 << "3" << false << false;
    QTest::newRow("message between entries")
        << "\r\n+CPBR: 1\r\n+CMTI: \"SM\",3\r\n+CPBR: 2\r\n\r\nOK\r\n" << Final::Ok
        << QStringList{"+CPBR: 1", "+CPBR: 2"} << QStringList{"+CMTI: \"SM\",3"} << -1 << "" << false << false;
}

void TestAtAnswer::reply()
{
    QFETCH(QString, buffer);
    QFETCH(Final, final);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, unsolicited);
    QFETCH(int, cmeNumber);
    QFETCH(QString, cmeText);
    QFETCH(bool, notFound);
    QFETCH(bool, simBusy);
    const AtReply reply = AtAnswer::reply(buffer);
    QCOMPARE(reply.final, final);
    QCOMPARE(reply.lines, lines);
    QCOMPARE(reply.unsolicited, unsolicited);
    QCOMPARE(reply.cmeNumber.value_or(-1), cmeNumber);
    QCOMPARE(reply.cmeText, cmeText);
    QCOMPARE(reply.isNotFound(), notFound);
    QCOMPARE(reply.isSimBusy(), simBusy);
    // The text is what the cleaning gives an answer the phone completed.
    if (final == Final::Ok)
        QCOMPARE(reply.text(), AtAnswer::clean(buffer));
    else
        QCOMPARE(reply.text(), QStringLiteral("ERROR"));
}

void TestAtAnswer::isDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("digits") << "0129" << true;
    QTest::newRow("sign") << "+39" << false;
    QTest::newRow("space") << "1 2" << false;
    QTest::newRow("arabic-indic digit") << QStringLiteral("\u0661") << false;
}

void TestAtAnswer::isDecimal()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(AtAnswer::isDecimal(text), expected);
}

void TestAtAnswer::clean_data()
{
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ok") << "\r\nOK\r\n" << "OK";
    QTest::newRow("error") << "\r\nERROR\r\n" << "ERROR";
    QTest::newRow("information line") << "\r\n+CGMM: NOKIA 6310i\r\n\r\nOK\r\n" << "+CGMM: NOKIA 6310i";
    QTest::newRow("several lines")
        << "\r\n+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\"\r\n\r\nOK\r\n"
        << "+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\"";
    QTest::newRow("echo") << "ATZ\r\r\nOK\r\n" << "AT";
    QTest::newRow("given up") << "\r\nERROR\r\n" << "ERROR";
    QTest::newRow("spaces around") << "  \r\nX1\r\n\r\nOK\r\n " << "X1";
    QTest::newRow("ok lower case") << "\r\nok\r\n" << "OK";
    QTest::newRow("error lower case") << "\r\nerror\r\n" << "ERROR";
    QTest::newRow("error after information") << "\r\n+CPBR: 7,\"1\"\r\n\r\nERROR\r\n" << "ERROR";
    QTest::newRow("cme error") << "\r\n+CME ERROR: 22\r\n" << "ERROR";
    QTest::newRow("too short to cut") << "\r\nO\r\n" << "";
    QTest::newRow("ring before ok") << "\r\nRING\r\n\r\nOK\r\n" << "OK";
    QTest::newRow("new message inside information")
        << "\r\n+CPBR: 3,\"5\",129,\"ZIO\"\r\n\r\n+CMTI: \"SM\",3\r\n\r\nOK\r\n"
        << "+CPBR: 3,\"5\",129,\"ZIO\"";
    QTest::newRow("ring after echo") << "ATZ\r\r\nRING\r\n\r\nOK\r\n" << "AT";
    // A code sent right behind a framed one, without its own leading CR LF,
    // must not stand in for the answer.
    QTest::newRow("call announced before ok")
        << "\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n" << "OK";
    QTest::newRow("call announced inside information")
        << "\r\n+CPBR: 3,\"5\",129,\"ZIO\"\r\n\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n"
        << "+CPBR: 3,\"5\",129,\"ZIO\"";
    QTest::newRow("accented name kept")
        << QStringLiteral("\r\n+CPBR: 1,\"1\",129,\"NICOL\u00d2\"\r\n\r\nOK\r\n")
        << QStringLiteral("+CPBR: 1,\"1\",129,\"NICOL\u00d2\"");
}

void TestAtAnswer::clean()
{
    QFETCH(QString, buffer);
    QFETCH(QString, expected);
    QCOMPARE(AtAnswer::clean(buffer), expected);
}

void TestAtAnswer::withoutUnsolicited_data()
{
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing to take") << "\r\n+CGMM: X\r\n\r\nOK\r\n" << "\r\n+CGMM: X\r\n\r\nOK\r\n";
    QTest::newRow("echo untouched") << "ATZ\r\r\nOK\r\n" << "ATZ\r\r\nOK\r\n";
    QTest::newRow("framed ring") << "\r\nRING\r\n\r\nOK\r\n" << "\r\nOK\r\n";
    QTest::newRow("two codes") << "\r\nRING\r\n\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n" << "\r\nOK\r\n";
    QTest::newRow("between information lines")
        << "\r\n+CPBR: 1\r\n+CREG: 1\r\n+CPBR: 2\r\n\r\nOK\r\n" << "\r\n+CPBR: 1\r\n+CPBR: 2\r\n\r\nOK\r\n";
    QTest::newRow("line still arriving") << "\r\nRING" << "\r\nRING";
    QTest::newRow("ring in a name") << "\r\n+CPBR: 1,\"1\",129,\"RING\"\r\n" << "\r\n+CPBR: 1,\"1\",129,\"RING\"\r\n";
    QTest::newRow("codes right behind a framed one")
        << "\r\nRING\r\n+CLIP: \"06\",129\r\n+CREG: 1\r\n\r\nOK\r\n" << "\r\nOK\r\n";
    QTest::newRow("code right behind one after a text line")
        << "\r\n+CPBR: 1\r\n\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n" << "\r\n+CPBR: 1\r\n\r\nOK\r\n";
    QTest::newRow("code moved up is still arriving") << "\r\nRING\r\n+CLIP: \"06\"" << "+CLIP: \"06\"";
    // Found by fuzz/fuzz_atanswer: the second code was left in.
    QTest::newRow("fuzz: code behind a code after a blank line")
        << "\r\n\r\n+CREG:\n\r\n+CREG: 1\r 1\rOK\r\n" << "\r\n";
    QTest::newRow("registration and call waiting")
        << "\r\n+CGREG: 1\r\n\r\n+CEREG: 5\r\n\r\n+CCWA: \"06\",129,1\r\n\r\nOK\r\n" << "\r\nOK\r\n";
    QTest::newRow("ringing is not ring") << "\r\nRINGO\r\n\r\nOK\r\n" << "\r\nRINGO\r\n\r\nOK\r\n";
}

void TestAtAnswer::withoutUnsolicited()
{
    QFETCH(QString, buffer);
    QFETCH(QString, expected);
    QCOMPARE(AtAnswer::withoutUnsolicited(buffer), expected);
}

QTEST_APPLESS_MAIN(TestAtAnswer)
#include "tst_atanswer.moc"
