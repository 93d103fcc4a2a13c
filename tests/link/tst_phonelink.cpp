// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonelink.h"
#include "scriptedphone.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

#include <thread>

using namespace std::chrono_literals;
using Final = AtReply::Final;

Q_DECLARE_METATYPE(AtReply::Final)

namespace {

// Long enough that an answer never races the deadline on a busy machine.
constexpr auto kAnsweredDeadline = 3000ms;
// Short, for the cases that would run into it.
constexpr auto kSilentDeadline = 300ms;

} // namespace

class TestPhoneLink : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void answers_data();
    void answers();
    void frame_data();
    void frame();
    void closedPortSendsNothing();
    void staleInputIsDiscarded_data();
    void staleInputIsDiscarded();
    void hangUpWhileWaiting();
    void hangUpWhileIdle();
    void cancelStopsTransactionsUntilResumed();
    void openFailures_data();
    void openFailures();

private:
    void openLink(std::chrono::milliseconds deadline);

    std::unique_ptr<ScriptedPhone> m_phone;
    std::unique_ptr<PhoneLink> m_link;
};

void TestPhoneLink::init()
{
    m_phone = std::make_unique<ScriptedPhone>();
    QVERIFY(m_phone->start());
}

void TestPhoneLink::cleanup()
{
    m_link.reset();
    m_phone.reset();
}

void TestPhoneLink::openLink(std::chrono::milliseconds deadline)
{
    m_link = std::make_unique<PhoneLink>(deadline);
    QString why;
    QVERIFY2(m_link->open(m_phone->device(), &why) == PortOpening::Opened, qPrintable(why));
    QVERIFY(m_link->isOpen());
}

void TestPhoneLink::answers_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<Final>("final");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArrayList>("unsolicited");
    QTest::addColumn<QByteArray>("text");

    const QByteArrayList none;
    QTest::newRow("ok") << "+CPBR=1"_ba << QByteArrayList{"\r\nOK\r\n"} << Final::Ok << none << none << "OK"_ba;
    QTest::newRow("error") << "+CPBR=1"_ba << QByteArrayList{"\r\nERROR\r\n"} << Final::Error << none << none << "ERROR"_ba;
    QTest::newRow("information line") << "+CGMM"_ba << QByteArrayList{"\r\nNOKIA 6310i\r\n\r\nOK\r\n"} << Final::Ok
                                      << QByteArrayList{"NOKIA 6310i"} << none << "NOKIA 6310i"_ba;
    QTest::newRow("several lines")
        << "+CPBR=1"_ba << QByteArrayList{"\r\n+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\"\r\n\r\nOK\r\n"} << Final::Ok
        << QByteArrayList{"+CPBR: 1,\"1\",129,\"A\"", "+CPBR: 2,\"2\",129,\"B\""} << none
        << "+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\""_ba;
    QTest::newRow("echo") << "Z"_ba << QByteArrayList{"ATZ\r\r\nOK\r\n"} << Final::Ok << QByteArrayList{"AT"} << none << "AT"_ba;
    QTest::newRow("ok lower case") << "+CPBR=1"_ba << QByteArrayList{"\r\nok\r\n"} << Final::Ok << none << none << "OK"_ba;
    QTest::newRow("in pieces")
        << "+CPBR=1"_ba << QByteArrayList{"\r\n+CPBR: 7,\"+39", "333\",145,\"MARIO\"\r\n\r\nO", "K\r", "\n"} << Final::Ok
        << QByteArrayList{"+CPBR: 7,\"+39333\",145,\"MARIO\""} << none << "+CPBR: 7,\"+39333\",145,\"MARIO\""_ba;
    QTest::newRow("cme error") << "+CPBR=1"_ba << QByteArrayList{"\r\n+CME ERROR: 22\r\n"} << Final::CmeError << none << none
                               << "ERROR"_ba;
    QTest::newRow("ring before ok") << "+CPBR=1"_ba << QByteArrayList{"\r\nRING\r\n", "\r\nOK\r\n"} << Final::Ok << none
                                    << QByteArrayList{"RING"} << "OK"_ba;
    QTest::newRow("bytes beyond ASCII as they came")
        << "+CPBR=1"_ba << QByteArrayList{"\r\n+CPBR: 1,\"1\",129,\"NICOL\xd2 \x80\"\r\n\r\nOK\r\n"} << Final::Ok
        << QByteArrayList{"+CPBR: 1,\"1\",129,\"NICOL\xd2 \x80\""} << none
        << "+CPBR: 1,\"1\",129,\"NICOL\xd2 \x80\""_ba;
    // Framed for the command sent: a write owns no line.
    QTest::newRow("vendor code in the answer to a write")
        << "+CPBW=3,\"0612\",129,\"CARLA\""_ba << QByteArrayList{"\r\n^RSSI:14\r\n", "\r\nOK\r\n"} << Final::Ok
        << none << QByteArrayList{"^RSSI:14"} << "OK"_ba;
}

// Each answer must end its attempt by its final result code: one frame,
// no resend.
void TestPhoneLink::answers()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArrayList, pieces);
    QFETCH(Final, final);
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArrayList, unsolicited);
    QFETCH(QByteArray, text);
    openLink(kAnsweredDeadline);
    m_phone->setResponder([this, pieces](const QByteArray &) {
        for (int i = 0; i < pieces.size(); ++i)
            m_phone->sendLater(20 * i, pieces.at(i));
    });

    const AtReply reply = m_link->IOP(command);
    QCOMPARE(reply.final, final);
    QCOMPARE(reply.lines, lines);
    QCOMPARE(reply.unsolicited, unsolicited);
    QCOMPARE(reply.text(), text);
    QCOMPARE(m_phone->frames().size(), 1);
}

void TestPhoneLink::frame_data()
{
    QTest::addColumn<QByteArray>("cmdat");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("spaces around") << " +CGMM "_ba << QByteArray("AT+CGMM\r");
    QTest::newRow("inner spaces kept") << "+CPBW=1, \"1\""_ba << QByteArray("AT+CPBW=1, \"1\"\r");
    QTest::newRow("bytes beyond ASCII as they are") << "+CPBW=1,\"1\",129,\"\xe8\x80\""_ba
                                                    << QByteArray("AT+CPBW=1,\"1\",129,\"\xe8\x80\"\r");
}

void TestPhoneLink::frame()
{
    QFETCH(QByteArray, cmdat);
    QFETCH(QByteArray, expected);
    openLink(kAnsweredDeadline);
    m_phone->answerEachWith("\r\nOK\r\n");
    QSignalSpy sent(m_link.get(), &PhoneLink::frameSent);

    QCOMPARE(m_link->IOP(cmdat).final, Final::Ok);
    QCOMPARE(m_phone->received(), expected);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).at(0).toByteArray(), expected);
}

void TestPhoneLink::closedPortSendsNothing()
{
    m_link = std::make_unique<PhoneLink>(kSilentDeadline);
    QSignalSpy sent(m_link.get(), &PhoneLink::frameSent);
    QCOMPARE(m_link->IOP("Z"_ba).final, Final::PortClosed);

    QCOMPARE(m_link->open(m_phone->device()), PortOpening::Opened);
    m_link->close();
    QElapsedTimer wall;
    wall.start();
    QCOMPARE(m_link->IOP("+CGMM"_ba).final, Final::PortClosed);
    QVERIFY(wall.elapsed() < kSilentDeadline.count());

    QTest::qWait(50);
    QCOMPARE(m_phone->received(), QByteArray());
    QCOMPARE(sent.size(), 0);
}

void TestPhoneLink::staleInputIsDiscarded_data()
{
    QTest::addColumn<bool>("readByPort");
    QTest::newRow("still in the device") << false;
    QTest::newRow("already read by the port") << true;
}

// A late answer to an earlier command must not be taken for the next one.
void TestPhoneLink::staleInputIsDiscarded()
{
    QFETCH(bool, readByPort);
    openLink(kAnsweredDeadline);
    m_phone->send("\r\nSTALE\r\n\r\nOK\r\n");
    if (readByPort)
        QTest::qWait(50);
    m_phone->answerEachWith("\r\nFRESH\r\n\r\nOK\r\n");

    QCOMPARE(m_link->IOP("+CGMM"_ba).lines, QByteArrayList{"FRESH"});
    QCOMPARE(m_link->IOP("+CGMM"_ba).lines, QByteArrayList{"FRESH"});
}

void TestPhoneLink::hangUpWhileWaiting()
{
    openLink(kAnsweredDeadline);
    m_phone->setResponder([this](const QByteArray &) { m_phone->hangUp(); });
    QSignalSpy lost(m_link.get(), &PhoneLink::lost);

    QElapsedTimer wall;
    wall.start();
    QCOMPARE(m_link->IOP("Z"_ba).final, Final::PortFailed);
    QVERIFY(wall.elapsed() < kAnsweredDeadline.count());
    QVERIFY(!m_link->isOpen());
    QCOMPARE(lost.size(), 1);
    QVERIFY(!lost.at(0).at(0).toString().isEmpty());

    QCOMPARE(m_link->IOP("Z"_ba).final, Final::PortClosed);
    QTest::qWait(20);
    QCOMPARE(lost.size(), 1);
}

void TestPhoneLink::hangUpWhileIdle()
{
    openLink(kAnsweredDeadline);
    QSignalSpy lost(m_link.get(), &PhoneLink::lost);
    m_phone->hangUp();
    QTRY_VERIFY(!m_link->isOpen());
    QCOMPARE(lost.size(), 1);
}

// A cancel from another thread ends the transaction that waits, and keeps
// later ones from sending anything, until the link resumes.
void TestPhoneLink::cancelStopsTransactionsUntilResumed()
{
    openLink(kAnsweredDeadline);
    std::thread user([this] {
        std::this_thread::sleep_for(50ms);
        m_link->cancel();
    });

    QElapsedTimer wall;
    wall.start();
    QCOMPARE(m_link->IOP("Z"_ba).final, Final::Cancelled);
    user.join();
    QVERIFY(wall.elapsed() < kAnsweredDeadline.count());
    QVERIFY(m_link->isOpen());
    QCOMPARE(m_link->IOP("+CGMM"_ba).final, Final::Cancelled);
    QCOMPARE(m_phone->frames().size(), 1);

    // The reset the program sends as it ends still goes out.
    m_link->resume();
    m_phone->answerEachWith("\r\nOK\r\n");
    QCOMPARE(m_link->IOP("Z"_ba).final, Final::Ok);
    QCOMPARE(m_phone->frames().size(), 2);
}

void TestPhoneLink::openFailures_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<PortOpening>("opening");
    QTest::newRow("no device") << QString() << PortOpening::Absent;
    QTest::newRow("nonexistent") << QStringLiteral("/dev/veldrano-no-such-port") << PortOpening::Absent;
    // Not a terminal: it opens, but takes no serial settings.
    QTest::newRow("not a serial port") << QStringLiteral("/dev/null") << PortOpening::Failed;
}

void TestPhoneLink::openFailures()
{
    QFETCH(QString, device);
    QFETCH(PortOpening, opening);
    PhoneLink link(kSilentDeadline);
    QString why;
    QCOMPARE(link.open(device, &why), opening);
    QVERIFY(!why.isEmpty());
    QVERIFY(!link.isOpen());
    QCOMPARE(link.IOP("Z"_ba).final, Final::PortClosed);
}

QTEST_GUILESS_MAIN(TestPhoneLink)
#include "tst_phonelink.moc"
