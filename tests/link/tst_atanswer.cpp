// SPDX-License-Identifier: GPL-3.0-or-later
#include "answerprogress.h"
#include "atanswer.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
    void clean_data();
    void clean();
    void framed_data();
    void framed();
    void progress_data();
    void progress();
};

void TestAtAnswer::finalResult_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<FinalResult>("expected");

    QTest::newRow("empty") << ""_ba << FinalResult::None;
    QTest::newRow("ok") << "\r\nOK\r\n"_ba << FinalResult::Ok;
    QTest::newRow("ok lower case") << "\r\nok\r\n"_ba << FinalResult::Ok;
    QTest::newRow("error mixed case") << "\r\nError\r\n"_ba << FinalResult::Error;
    QTest::newRow("ok after information") << "\r\n+CGMM: X\r\n\r\nOK\r\n"_ba << FinalResult::Ok;
    QTest::newRow("ok after echo") << "ATZ\r\r\nOK\r\n"_ba << FinalResult::Ok;
    QTest::newRow("bare ok") << "OK"_ba << FinalResult::None;
    QTest::newRow("ok without final crlf") << "\r\nOK"_ba << FinalResult::None;
    QTest::newRow("ok without leading crlf") << "OK\r\n"_ba << FinalResult::None;
    QTest::newRow("ok inside a word") << "\r\nOKAY\r\n"_ba << FinalResult::None;
    QTest::newRow("ok in a name") << "\r\n+CPBR: 1,\"1\",129,\"OK\"\r\n"_ba << FinalResult::None;
    QTest::newRow("cme error") << "\r\n+CME ERROR: 22\r\n"_ba << FinalResult::Error;
    QTest::newRow("cme error as text") << "\r\n+CME ERROR: not found\r\n"_ba << FinalResult::Error;
    QTest::newRow("cme error still arriving") << "\r\n+CME ERROR: 2"_ba << FinalResult::None;
    QTest::newRow("cme error not on its own line") << "\r\nX+CME ERROR: 3\r\n"_ba << FinalResult::None;
}

void TestAtAnswer::finalResult()
{
    QFETCH(QByteArray, buffer);
    QFETCH(FinalResult, expected);
    QCOMPARE(AtAnswer::finalResult(buffer), expected);
}

void TestAtAnswer::reply_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<Final>("final");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArrayList>("unsolicited");
    // -1: no number.
    QTest::addColumn<int>("cmeNumber");
    QTest::addColumn<QByteArray>("cmeText");
    QTest::addColumn<bool>("notFound");
    QTest::addColumn<bool>("simBusy");

    const QByteArrayList none;
    const QByteArray read = QByteArrayLiteral("+CPBR=1");
    QTest::newRow("incomplete") << read << "\r\n+CME ERROR: 22"_ba << Final::NoAnswer << none << none << -1 << ""_ba
                                << false << false;
    QTest::newRow("ok lower case") << read << "\r\n+CPBR: 1\r\n\r\nok\r\n"_ba << Final::Ok << QByteArrayList{"+CPBR: 1"}
                                   << none << -1 << ""_ba << false << false;
    QTest::newRow("error") << read << "\r\nERROR\r\n"_ba << Final::Error << none << none << -1 << ""_ba << false << false;
    QTest::newRow("information before an error is no answer")
        << read << "\r\n+CPBR: 7,\"1\"\r\n\r\nERROR\r\n"_ba << Final::Error << none << none << -1 << ""_ba << false << false;
    QTest::newRow("not found") << "+CPBR=2"_ba << "AT+CPBR=2\r\r\n+CME ERROR: 22\r\n"_ba << Final::CmeError << none << none
                               << 22 << "22"_ba << true << false;
    QTest::newRow("not found as text") << read << "\r\nRING\r\n\r\n+CME ERROR: Not Found\r\n"_ba << Final::CmeError
                                       << none << QByteArrayList{"RING"} << -1 << "Not Found"_ba << true << false;
    // The ring moves the error line to the buffer's start; the cleaning then
    // cut "+CME ERR" out of it and the read took that for garbage.
    QTest::newRow("ring right before not found") << read << "\r\nRING\r\n+CME ERROR: 22\r\n"_ba << Final::CmeError
                                                 << none << QByteArrayList{"RING"} << 22 << "22"_ba << true << false;
    QTest::newRow("not found without the space") << read << "\r\n+CME ERROR:22\r\n"_ba << Final::CmeError << none
                                                 << none << 22 << "22"_ba << true << false;
    QTest::newRow("invalid index") << read << "\r\n+CME ERROR: 21\r\n"_ba << Final::CmeError << none << none << 21
                                   << "21"_ba << false << false;
    QTest::newRow("code 220") << read << "\r\n+CME ERROR: 220\r\n"_ba << Final::CmeError << none << none << 220
                              << "220"_ba << false << false;
    QTest::newRow("sim busy") << read << "\r\n+CME ERROR: 14\r\n"_ba << Final::CmeError << none << none << 14 << "14"_ba
                              << false << true;
    QTest::newRow("sim busy as text") << read << "\r\n+cme error: sim BUSY\r\n"_ba << Final::CmeError << none << none
                                      << -1 << "sim BUSY"_ba << false << true;
    // The "please wait" of SIMCom, Telit and u-blox modules is the same busy.
    QTest::newRow("please wait") << read << "\r\n+CME ERROR: 515\r\n"_ba << Final::CmeError << none << none << 515
                                 << "515"_ba << false << true;
    QTest::newRow("please wait as text")
        << read << "\r\n+CME ERROR: Please wait, init or command processing in progress\r\n"_ba << Final::CmeError
        << none << none << -1 << "Please wait, init or command processing in progress"_ba << false << true;
    QTest::newRow("plain and extended") << read << "\r\n+CME ERROR: 22\r\n\r\nERROR\r\n"_ba << Final::Error << none
                                        << none << -1 << ""_ba << false << false;
    QTest::newRow("an error and an OK in one buffer") << read << "\r\n+CME ERROR: 3\r\n\r\nOK\r\n"_ba << Final::CmeError
                                                      << none << none << 3 << "3"_ba << false << false;
    QTest::newRow("message between entries")
        << "+CPBR=1,2"_ba << "\r\n+CPBR: 1\r\n+CMTI: \"SM\",3\r\n+CPBR: 2\r\n\r\nOK\r\n"_ba << Final::Ok
        << QByteArrayList{"+CPBR: 1", "+CPBR: 2"} << QByteArrayList{"+CMTI: \"SM\",3"} << -1 << ""_ba << false << false;

    // Every command's answer framed the one way: its own lines, and every
    // other line set aside, whatever code a phone slips in.
    QTest::newRow("vendor code in the answer to a write")
        << "+CPBW=3,\"0612\",129,\"CARLA\""_ba << "\r\n^RSSI:14\r\n\r\nOK\r\n"_ba << Final::Ok << none
        << QByteArrayList{"^RSSI:14"} << -1 << ""_ba << false << false;
    QTest::newRow("vendor code ended CR CR LF in a set's selection")
        << "+CSCS=\"8859-1\""_ba << "\r\n^MODE: 2\r\r\n\r\nOK\r\n"_ba << Final::Ok << none << QByteArrayList{"^MODE: 2\r"}
        << -1 << ""_ba << false << false;
    QTest::newRow("any other line in a storage's selection")
        << "+CPBS=SM"_ba << "\r\nPB DONE\r\n\r\nOK\r\n"_ba << Final::Ok << none << QByteArrayList{"PB DONE"} << -1 << ""_ba
        << false << false;
    QTest::newRow("another command's line beside the storage count")
        << "+CPBS?"_ba << "\r\n+CSCS: \"IRA\"\r\n+CPBS: \"SM\",1,250\r\n\r\nOK\r\n"_ba << Final::Ok
        << QByteArrayList{"+CPBS: \"SM\",1,250"} << QByteArrayList{"+CSCS: \"IRA\""} << -1 << ""_ba << false << false;
    QTest::newRow("entries beside a code of no known kind")
        << "+CPBR=1,3"_ba << "\r\n+CPBR: 1\r\nPB DONE\r\n+CPBR: 3\r\n\r\nOK\r\n"_ba << Final::Ok
        << QByteArrayList{"+CPBR: 1", "+CPBR: 3"} << QByteArrayList{"PB DONE"} << -1 << ""_ba << false << false;
    QTest::newRow("a bare range is the range query's")
        << "+CPBR=?"_ba << "\r\n(1-250),40,18\r\n\r\n+QIND: \"csq\",20\r\n\r\nOK\r\n"_ba << Final::Ok
        << QByteArrayList{"(1-250),40,18"} << QByteArrayList{"+QIND: \"csq\",20"} << -1 << ""_ba << false << false;
    QTest::newRow("a bare entry is the read's") << "+CPBR=7"_ba << "\r\n7,\"0612\",129,\"ZIO\"\r\n\r\nOK\r\n"_ba
                                                << Final::Ok << QByteArrayList{"7,\"0612\",129,\"ZIO\""} << none << -1
                                                << ""_ba << false << false;
    QTest::newRow("a bare entry after a ring")
        << "+CPBR=7"_ba << "\r\nRING\r\n\r\n7,\"0612345678\",129,\"CASA\"\r\n\r\nOK\r\n"_ba << Final::Ok
        << QByteArrayList{"7,\"0612345678\",129,\"CASA\""} << QByteArrayList{"RING"} << -1 << ""_ba << false
        << false;
    QTest::newRow("a doubled blank line is framing") << read << "\r\n+CPBR: 1\r\n\r\n\r\nOK\r\n"_ba << Final::Ok
                                                     << QByteArrayList{"+CPBR: 1"} << none << -1 << ""_ba << false
                                                     << false;
    QTest::newRow("echo") << "Z"_ba << "ATZ\r\r\nOK\r\n"_ba << Final::Ok << QByteArrayList{"AT"} << none << -1 << ""_ba << false
                          << false;
    QTest::newRow("echo beside a vendor code") << "Z"_ba << "ATZ\r\r\n^RSSI:14\r\n\r\nOK\r\n"_ba << Final::Ok
                                               << QByteArrayList{"AT"} << QByteArrayList{"^RSSI:14"} << -1 << ""_ba << false
                                               << false;
    QTest::newRow("a reset owns no line") << "Z"_ba << "\r\nPB DONE\r\n\r\nOK\r\n"_ba << Final::Ok << none
                                          << QByteArrayList{"PB DONE"} << -1 << ""_ba << false << false;
    QTest::newRow("the model's bare text beside codes")
        << "+CGMM"_ba << "\r\n+PBREADY\r\nNOKIA 6310i\r\n\r\n^RSSI:9\r\n\r\nOK\r\n"_ba << Final::Ok
        << QByteArrayList{"NOKIA 6310i"} << QByteArrayList{"+PBREADY", "^RSSI:9"} << -1 << ""_ba << false << false;
    QTest::newRow("the model under its own name") << "+CGMM"_ba << "\r\n+CGMM: X1\r\n\r\nOK\r\n"_ba << Final::Ok
                                                  << QByteArrayList{"+CGMM: X1"} << none << -1 << ""_ba << false << false;
}

void TestAtAnswer::reply()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, buffer);
    QFETCH(Final, final);
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArrayList, unsolicited);
    QFETCH(int, cmeNumber);
    QFETCH(QByteArray, cmeText);
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
        QCOMPARE(reply.text(), "ERROR"_ba);
}

void TestAtAnswer::clean_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray model = QByteArrayLiteral("+CGMM");
    const QByteArray read = QByteArrayLiteral("+CPBR=3");
    QTest::newRow("ok") << read << "\r\nOK\r\n"_ba << "OK"_ba;
    QTest::newRow("error") << read << "\r\nERROR\r\n"_ba << "ERROR"_ba;
    QTest::newRow("information line") << model << "\r\n+CGMM: NOKIA 6310i\r\n\r\nOK\r\n"_ba << "+CGMM: NOKIA 6310i"_ba;
    QTest::newRow("several lines")
        << "+CPBR=1,2"_ba << "\r\n+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\"\r\n\r\nOK\r\n"_ba
        << "+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\""_ba;
    QTest::newRow("echo") << "Z"_ba << "ATZ\r\r\nOK\r\n"_ba << "AT"_ba;
    QTest::newRow("given up") << read << "\r\nERROR\r\n"_ba << "ERROR"_ba;
    QTest::newRow("spaces around") << model << "  \r\nX1\r\n\r\nOK\r\n "_ba << "X1"_ba;
    QTest::newRow("ok lower case") << read << "\r\nok\r\n"_ba << "OK"_ba;
    QTest::newRow("error lower case") << read << "\r\nerror\r\n"_ba << "ERROR"_ba;
    QTest::newRow("error after information") << read << "\r\n+CPBR: 7,\"1\"\r\n\r\nERROR\r\n"_ba << "ERROR"_ba;
    QTest::newRow("cme error") << read << "\r\n+CME ERROR: 22\r\n"_ba << "ERROR"_ba;
    QTest::newRow("too short to cut") << model << "\r\nO\r\n"_ba << ""_ba;
    QTest::newRow("ring before ok") << read << "\r\nRING\r\n\r\nOK\r\n"_ba << "OK"_ba;
    QTest::newRow("new message inside information")
        << read << "\r\n+CPBR: 3,\"5\",129,\"ZIO\"\r\n\r\n+CMTI: \"SM\",3\r\n\r\nOK\r\n"_ba << "+CPBR: 3,\"5\",129,\"ZIO\""_ba;
    QTest::newRow("ring after echo") << "Z"_ba << "ATZ\r\r\nRING\r\n\r\nOK\r\n"_ba << "AT"_ba;
    // A code sent right behind a framed one, without its own leading CR LF,
    // must not stand in for the answer.
    QTest::newRow("call announced before ok") << read << "\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n"_ba << "OK"_ba;
    QTest::newRow("call announced inside information")
        << read << "\r\n+CPBR: 3,\"5\",129,\"ZIO\"\r\n\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n"_ba
        << "+CPBR: 3,\"5\",129,\"ZIO\""_ba;
    QTest::newRow("accented name kept") << read << "\r\n+CPBR: 1,\"1\",129,\"NICOL\xd2\"\r\n\r\nOK\r\n"_ba
                                        << "+CPBR: 1,\"1\",129,\"NICOL\xd2\""_ba;
}

void TestAtAnswer::clean()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, buffer);
    QFETCH(QByteArray, expected);
    QCOMPARE(AtAnswer::clean(buffer, AnswerFraming(command)), expected);
}

void TestAtAnswer::framed_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray model = QByteArrayLiteral("+CGMM");
    const QByteArray read = QByteArrayLiteral("+CPBR=1,2");
    QTest::newRow("nothing to take") << model << "\r\n+CGMM: X\r\n\r\nOK\r\n"_ba << "\r\n+CGMM: X\r\n\r\nOK\r\n"_ba;
    QTest::newRow("echo untouched") << "Z"_ba << "ATZ\r\r\nOK\r\n"_ba << "ATZ\r\r\nOK\r\n"_ba;
    QTest::newRow("framed ring") << read << "\r\nRING\r\n\r\nOK\r\n"_ba << "\r\nOK\r\n"_ba;
    QTest::newRow("two codes") << read << "\r\nRING\r\n\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n"_ba << "\r\nOK\r\n"_ba;
    QTest::newRow("between information lines")
        << read << "\r\n+CPBR: 1\r\n+CREG: 1\r\n+CPBR: 2\r\n\r\nOK\r\n"_ba << "\r\n+CPBR: 1\r\n+CPBR: 2\r\n\r\nOK\r\n"_ba;
    QTest::newRow("line still arriving") << read << "\r\nRING"_ba << "\r\nRING"_ba;
    QTest::newRow("ring in a name") << read << "\r\n+CPBR: 1,\"1\",129,\"RING\"\r\n"_ba
                                    << "\r\n+CPBR: 1,\"1\",129,\"RING\"\r\n"_ba;
    QTest::newRow("codes right behind a framed one")
        << read << "\r\nRING\r\n+CLIP: \"06\",129\r\n+CREG: 1\r\n\r\nOK\r\n"_ba << "\r\nOK\r\n"_ba;
    QTest::newRow("code right behind one after a text line")
        << read << "\r\n+CPBR: 1\r\n\r\nRING\r\n+CLIP: \"06\",129\r\n\r\nOK\r\n"_ba << "\r\n+CPBR: 1\r\n\r\nOK\r\n"_ba;
    QTest::newRow("code moved up is still arriving") << read << "\r\nRING\r\n+CLIP: \"06\""_ba << "+CLIP: \"06\""_ba;
    // Found by fuzz/fuzz_atanswer: the second code was left in.
    QTest::newRow("fuzz: code behind a code after a blank line")
        << model << "\r\n\r\n+CREG:\n\r\n+CREG: 1\r 1\rOK\r\n"_ba << "\r\n"_ba;
    QTest::newRow("registration and call waiting")
        << read << "\r\n+CGREG: 1\r\n\r\n+CEREG: 5\r\n\r\n+CCWA: \"06\",129,1\r\n\r\nOK\r\n"_ba << "\r\nOK\r\n"_ba;
    QTest::newRow("a model may ring on") << model << "\r\nRINGO\r\n\r\nOK\r\n"_ba << "\r\nRINGO\r\n\r\nOK\r\n"_ba;
    QTest::newRow("vendor codes with a reset's echo")
        << "Z"_ba << "ATZ\r\r\n^BOOT:1234,0,0,0,72\r\n^MODE: 2\r\r\n\r\nOK\r\n"_ba << "ATZ\r\r\nOK\r\n"_ba;
}

void TestAtAnswer::framed()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, buffer);
    QFETCH(QByteArray, expected);
    QCOMPARE(AtAnswer::framed(buffer, AnswerFraming(command)), expected);
}

void TestAtAnswer::progress_data()
{
    QTest::addColumn<QByteArray>("command");
    // The buffer as it grows, one read after the other.
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<int>("expected");

    const QByteArray read = QByteArrayLiteral("+CPBR=1,250");
    QTest::newRow("echo") << read << QByteArrayList{"AT+CPBR=1,250\r"} << 0;
    QTest::newRow("own line arriving") << read << QByteArrayList{"\r\n+CPBR: 1,\"0612\""} << 15;
    QTest::newRow("opening not yet the command's") << read << QByteArrayList{"\r\n+CP"} << 0;
    QTest::newRow("vendor code arriving") << read << QByteArrayList{"\r\n^RSS"} << 0;
    QTest::newRow("own lines with a code between")
        << read << QByteArrayList{"\r\n+CPBR: 1\r\n\r\n+CREG: 1\r\n+CPBR: 3\r\n\r\nPB DONE\r\n"} << 16;
    QTest::newRow("in pieces, a line break split")
        << read << QByteArrayList{"\r\n+CPBR: 1\r", "\n\r\n^RSSI:1", "4\r\n+CPBR: 3", "\r\n"} << 16;
    QTest::newRow("a reset's answer") << "Z"_ba << QByteArrayList{"ATZ\r\r\nPB DONE\r\n"} << 0;
    QTest::newRow("the final result counts nothing") << "+CGMM"_ba << QByteArrayList{"\r\nX1\r\n\r\nOK\r\n"} << 2;
}

void TestAtAnswer::progress()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArrayList, pieces);
    QFETCH(int, expected);
    AnswerProgress progress{AnswerFraming(command)};
    QByteArray buffer;
    qsizetype measured = 0;
    for (const QByteArray &piece : pieces) {
        buffer += piece;
        measured = progress.measure(buffer);
    }
    QCOMPARE(measured, qsizetype(expected));
}

QTEST_APPLESS_MAIN(TestAtAnswer)
#include "tst_atanswer.moc"
