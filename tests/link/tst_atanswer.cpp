#include "answerprogress.h"
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
    void framed_data();
    void framed();
    void progress_data();
    void progress();
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
    QTest::addColumn<QString>("command");
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
    const QString read = QStringLiteral("+CPBR=1");
    QTest::newRow("incomplete") << read << "\r\n+CME ERROR: 22" << Final::NoAnswer << none << none << -1 << ""
                                << false << false;
    QTest::newRow("ok lower case") << read << "\r\n+CPBR: 1\r\n\r\nok\r\n" << Final::Ok << QStringList{"+CPBR: 1"}
                                   << none << -1 << "" << false << false;
    QTest::newRow("error") << read << "\r\nERROR\r\n" << Final::Error << none << none << -1 << "" << false << false;
    QTest::newRow("information before an error is no answer")
        << read << "\r\n+CPBR: 7,\"1\"\r\n\r\nERROR\r\n" << Final::Error << none << none << -1 << "" << false << false;
    QTest::newRow("not found") << "+CPBR=2" << "AT+CPBR=2\r\r\n+CME ERROR: 22\r\n" << Final::CmeError << none << none
                               << 22 << "22" << true << false;
    QTest::newRow("not found as text") << read << "\r\nRING\r\n\r\n+CME ERROR: Not Found\r\n" << Final::CmeError
                                       << none << QStringList{"RING"} << -1 << "Not Found" << true << false;
    // The ring moves the error line to the buffer's start; the cleaning then
    // cut "+CME ERR" out of it and the read took that for garbage.
    QTest::newRow("ring right before not found") << read << "\r\nRING\r\n+CME ERROR: 22\r\n" << Final::CmeError
                                                 << none << QStringList{"RING"} << 22 << "22" << true << false;
    QTest::newRow("not found without the space") << read << "\r\n+CME ERROR:22\r\n" << Final::CmeError << none
                                                 << none << 22 << "22" << true << false;
    QTest::newRow("invalid index") << read << "\r\n+CME ERROR: 21\r\n" << Final::CmeError << none << none << 21
                                   << "21" << false << false;
    QTest::newRow("code 220") << read << "\r\n+CME ERROR: 220\r\n" << Final::CmeError << none << none << 220
                              << "220" << false << false;
    QTest::newRow("sim busy") << read << "\r\n+CME ERROR: 14\r\n" << Final::CmeError << none << none << 14 << "14"
                              << false << true;
    QTest::newRow("sim busy as text") << read << "\r\n+cme error: sim BUSY\r\n" << Final::CmeError << none << none
                                      << -1 << "sim BUSY" << false << true;
    QTest::newRow("plain and extended") << read << "\r\n+CME ERROR: 22\r\n\r\nERROR\r\n" << Final::Error << none
                                        << none << -1 << "" << false << false;
    QTest::newRow("an error and an OK in one buffer") << read << "\r\n+CME ERROR: 3\r\n\r\nOK\r\n" << Final::CmeError
                                                      << none << none << 3 << "3" << false << false;
    QTest::newRow("message between entries")
        << "+CPBR=1,2" << "\r\n+CPBR: 1\r\n+CMTI: \"SM\",3\r\n+CPBR: 2\r\n\r\nOK\r\n" << Final::Ok
        << QStringList{"+CPBR: 1", "+CPBR: 2"} << QStringList{"+CMTI: \"SM\",3"} << -1 << "" << false << false;

    // Every command's answer framed the one way: its own lines, and every
    // other line set aside, whatever code a phone slips in.
    QTest::newRow("vendor code in the answer to a write")
        << "+CPBW=3,\"0612\",129,\"CARLA\"" << "\r\n^RSSI:14\r\n\r\nOK\r\n" << Final::Ok << none
        << QStringList{"^RSSI:14"} << -1 << "" << false << false;
    QTest::newRow("vendor code ended CR CR LF in a set's selection")
        << "+CSCS=\"8859-1\"" << "\r\n^MODE: 2\r\r\n\r\nOK\r\n" << Final::Ok << none << QStringList{"^MODE: 2\r"}
        << -1 << "" << false << false;
    QTest::newRow("any other line in a storage's selection")
        << "+CPBS=SM" << "\r\nPB DONE\r\n\r\nOK\r\n" << Final::Ok << none << QStringList{"PB DONE"} << -1 << ""
        << false << false;
    QTest::newRow("another command's line beside the storage count")
        << "+CPBS?" << "\r\n+CSCS: \"IRA\"\r\n+CPBS: \"SM\",1,250\r\n\r\nOK\r\n" << Final::Ok
        << QStringList{"+CPBS: \"SM\",1,250"} << QStringList{"+CSCS: \"IRA\""} << -1 << "" << false << false;
    QTest::newRow("entries beside a code of no known kind")
        << "+CPBR=1,3" << "\r\n+CPBR: 1\r\nPB DONE\r\n+CPBR: 3\r\n\r\nOK\r\n" << Final::Ok
        << QStringList{"+CPBR: 1", "+CPBR: 3"} << QStringList{"PB DONE"} << -1 << "" << false << false;
    QTest::newRow("a bare range is the range query's")
        << "+CPBR=?" << "\r\n(1-250),40,18\r\n\r\n+QIND: \"csq\",20\r\n\r\nOK\r\n" << Final::Ok
        << QStringList{"(1-250),40,18"} << QStringList{"+QIND: \"csq\",20"} << -1 << "" << false << false;
    QTest::newRow("a bare entry is the read's") << "+CPBR=7" << "\r\n7,\"0612\",129,\"ZIO\"\r\n\r\nOK\r\n"
                                                << Final::Ok << QStringList{"7,\"0612\",129,\"ZIO\""} << none << -1
                                                << "" << false << false;
    QTest::newRow("a doubled blank line is framing") << read << "\r\n+CPBR: 1\r\n\r\n\r\nOK\r\n" << Final::Ok
                                                     << QStringList{"+CPBR: 1"} << none << -1 << "" << false
                                                     << false;
    QTest::newRow("echo") << "Z" << "ATZ\r\r\nOK\r\n" << Final::Ok << QStringList{"AT"} << none << -1 << "" << false
                          << false;
    QTest::newRow("echo beside a vendor code") << "Z" << "ATZ\r\r\n^RSSI:14\r\n\r\nOK\r\n" << Final::Ok
                                               << QStringList{"AT"} << QStringList{"^RSSI:14"} << -1 << "" << false
                                               << false;
    QTest::newRow("a reset owns no line") << "Z" << "\r\nPB DONE\r\n\r\nOK\r\n" << Final::Ok << none
                                          << QStringList{"PB DONE"} << -1 << "" << false << false;
    QTest::newRow("the model's bare text beside codes")
        << "+CGMM" << "\r\n+PBREADY\r\nNOKIA 6310i\r\n\r\n^RSSI:9\r\n\r\nOK\r\n" << Final::Ok
        << QStringList{"NOKIA 6310i"} << QStringList{"+PBREADY", "^RSSI:9"} << -1 << "" << false << false;
    QTest::newRow("the model under its own name") << "+CGMM" << "\r\n+CGMM: X1\r\n\r\nOK\r\n" << Final::Ok
                                                  << QStringList{"+CGMM: X1"} << none << -1 << "" << false << false;
}

void TestAtAnswer::reply()
{
    QFETCH(QString, command);
    QFETCH(QString, buffer);
    QFETCH(Final, final);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, unsolicited);
    QFETCH(int, cmeNumber);
    QFETCH(QString, cmeText);
    QFETCH(bool, notFound);
    QFETCH(bool, simBusy);
    const AtReply reply = AtAnswer::reply(buffer, AnswerFraming(command));
    QCOMPARE(reply.final, final);
    QCOMPARE(reply.lines, lines);
    QCOMPARE(reply.unsolicited, unsolicited);
    QCOMPARE(reply.cmeNumber.value_or(-1), cmeNumber);
    QCOMPARE(reply.cmeText, cmeText);
    QCOMPARE(reply.isNotFound(), notFound);
    QCOMPARE(reply.isSimBusy(), simBusy);
    if (final != Final::Ok)
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
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("expected");

    const QString model = QStringLiteral("+CGMM");
    const QString read = QStringLiteral("+CPBR=3");
    QTest::newRow("ok") << read << "\r\nOK\r\n" << "OK";
    QTest::newRow("error") << read << "\r\nERROR\r\n" << "ERROR";
    QTest::newRow("information line") << model << "\r\n+CGMM: NOKIA 6310i\r\n\r\nOK\r\n" << "+CGMM: NOKIA 6310i";
    QTest::newRow("several lines")
        << "+CPBR=1,2" << "\r\n+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\"\r\n\r\nOK\r\n"
        << "+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\"";
    QTest::newRow("echo") << "Z" << "ATZ\r\r\nOK\r\n" << "AT";
    QTest::newRow("given up") << read << "\r\nERROR\r\n" << "ERROR";
    QTest::newRow("spaces around") << model << "  \r\nX1\r\n\r\nOK\r\n " << "X1";
    QTest::newRow("ok lower case") << read << "\r\nok\r\n" << "OK";
    QTest::newRow("error lower case") << read << "\r\nerror\r\n" << "ERROR";
    QTest::newRow("error after information") << read << "\r\n+CPBR: 7,\"1\"\r\n\r\nERROR\r\n" << "ERROR";
    QTest::newRow("cme error") << read << "\r\n+CME ERROR: 22\r\n" << "ERROR";
    QTest::newRow("too short to cut") << model << "\r\nO\r\n" << "";
    QTest::newRow("ring before ok") << read << "\r\nRING\r\n\r\nOK\r\n" << "OK";
    QTest::newRow("new message inside information")
        << read << "\r\n+CPBR: 3,\"5\",129,\"ZIO\"\r\n\r\n+CMTI: \"SM\",3\r\n\r\nOK\r\n" << "+CPBR: 3,\"5\",129,\"ZIO\"";
    QTest::newRow("ring after echo") << "Z" << "ATZ\r\r\nRING\r\n\r\nOK\r\n" << "AT";
    // A code sent right behind a framed one, without its own leading CR LF,
    // must not stand in for the answer.
    QTest::newRow("call announced before ok") << read << "\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n" << "OK";
    QTest::newRow("call announced inside information")
        << read << "\r\n+CPBR: 3,\"5\",129,\"ZIO\"\r\n\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n"
        << "+CPBR: 3,\"5\",129,\"ZIO\"";
    QTest::newRow("accented name kept") << read << QStringLiteral("\r\n+CPBR: 1,\"1\",129,\"NICOL\u00d2\"\r\n\r\nOK\r\n")
                                        << QStringLiteral("+CPBR: 1,\"1\",129,\"NICOL\u00d2\"");
}

void TestAtAnswer::clean()
{
    QFETCH(QString, command);
    QFETCH(QString, buffer);
    QFETCH(QString, expected);
    QCOMPARE(AtAnswer::clean(buffer, AnswerFraming(command)), expected);
}

void TestAtAnswer::framed_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("expected");

    const QString model = QStringLiteral("+CGMM");
    const QString read = QStringLiteral("+CPBR=1,2");
    QTest::newRow("nothing to take") << model << "\r\n+CGMM: X\r\n\r\nOK\r\n" << "\r\n+CGMM: X\r\n\r\nOK\r\n";
    QTest::newRow("echo untouched") << "Z" << "ATZ\r\r\nOK\r\n" << "ATZ\r\r\nOK\r\n";
    QTest::newRow("framed ring") << read << "\r\nRING\r\n\r\nOK\r\n" << "\r\nOK\r\n";
    QTest::newRow("two codes") << read << "\r\nRING\r\n\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n" << "\r\nOK\r\n";
    QTest::newRow("between information lines")
        << read << "\r\n+CPBR: 1\r\n+CREG: 1\r\n+CPBR: 2\r\n\r\nOK\r\n" << "\r\n+CPBR: 1\r\n+CPBR: 2\r\n\r\nOK\r\n";
    QTest::newRow("line still arriving") << read << "\r\nRING" << "\r\nRING";
    QTest::newRow("ring in a name") << read << "\r\n+CPBR: 1,\"1\",129,\"RING\"\r\n"
                                    << "\r\n+CPBR: 1,\"1\",129,\"RING\"\r\n";
    QTest::newRow("codes right behind a framed one")
        << read << "\r\nRING\r\n+CLIP: \"06\",129\r\n+CREG: 1\r\n\r\nOK\r\n" << "\r\nOK\r\n";
    QTest::newRow("code right behind one after a text line")
        << read << "\r\n+CPBR: 1\r\n\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n" << "\r\n+CPBR: 1\r\n\r\nOK\r\n";
    QTest::newRow("code moved up is still arriving") << read << "\r\nRING\r\n+CLIP: \"06\"" << "+CLIP: \"06\"";
    // Found by fuzz/fuzz_atanswer: the second code was left in.
    QTest::newRow("fuzz: code behind a code after a blank line")
        << model << "\r\n\r\n+CREG:\n\r\n+CREG: 1\r 1\rOK\r\n" << "\r\n";
    QTest::newRow("registration and call waiting")
        << read << "\r\n+CGREG: 1\r\n\r\n+CEREG: 5\r\n\r\n+CCWA: \"06\",129,1\r\n\r\nOK\r\n" << "\r\nOK\r\n";
    QTest::newRow("a model may ring on") << model << "\r\nRINGO\r\n\r\nOK\r\n" << "\r\nRINGO\r\n\r\nOK\r\n";
    QTest::newRow("vendor codes with a reset's echo")
        << "Z" << "ATZ\r\r\n^BOOT:1234,0,0,0,72\r\n^MODE: 2\r\r\n\r\nOK\r\n" << "ATZ\r\r\nOK\r\n";
}

void TestAtAnswer::framed()
{
    QFETCH(QString, command);
    QFETCH(QString, buffer);
    QFETCH(QString, expected);
    QCOMPARE(AtAnswer::framed(buffer, AnswerFraming(command)), expected);
}

void TestAtAnswer::progress_data()
{
    QTest::addColumn<QString>("command");
    // The buffer as it grows, one read after the other.
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<int>("expected");

    const QString read = QStringLiteral("+CPBR=1,250");
    QTest::newRow("echo") << read << QStringList{"AT+CPBR=1,250\r"} << 0;
    QTest::newRow("own line arriving") << read << QStringList{"\r\n+CPBR: 1,\"0612\""} << 15;
    QTest::newRow("opening not yet the command's") << read << QStringList{"\r\n+CP"} << 0;
    QTest::newRow("vendor code arriving") << read << QStringList{"\r\n^RSS"} << 0;
    QTest::newRow("own lines with a code between")
        << read << QStringList{"\r\n+CPBR: 1\r\n\r\n+CREG: 1\r\n+CPBR: 3\r\n\r\nPB DONE\r\n"} << 16;
    QTest::newRow("in pieces, a line break split")
        << read << QStringList{"\r\n+CPBR: 1\r", "\n\r\n^RSSI:1", "4\r\n+CPBR: 3", "\r\n"} << 16;
    QTest::newRow("a reset's answer") << "Z" << QStringList{"ATZ\r\r\nPB DONE\r\n"} << 0;
    QTest::newRow("the final result counts nothing") << "+CGMM" << QStringList{"\r\nX1\r\n\r\nOK\r\n"} << 2;
}

void TestAtAnswer::progress()
{
    QFETCH(QString, command);
    QFETCH(QStringList, pieces);
    QFETCH(int, expected);
    AnswerProgress progress{AnswerFraming(command)};
    QString buffer;
    qsizetype measured = 0;
    for (const QString &piece : pieces) {
        buffer += piece;
        measured = progress.measure(buffer);
    }
    QCOMPARE(measured, qsizetype(expected));
}

QTEST_APPLESS_MAIN(TestAtAnswer)
#include "tst_atanswer.moc"
