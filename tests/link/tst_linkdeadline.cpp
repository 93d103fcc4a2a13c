// SPDX-License-Identifier: GPL-3.0-or-later
// The transaction's deadline, which runs from the last byte of the answer
// heard: what it lets through, and what it gives up on.
#include "phonelink.h"
#include "scriptedphone.h"
#include "simphone.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

#include <ctime>

using namespace std::chrono_literals;
using Final = AtReply::Final;

namespace {

// Short, so that every answer below outlasts it.
constexpr auto kDeadline = 300ms;

double processSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// A SIM of count entries, each answer line some 40 bytes long.
SimPhonebook fullSim(int count)
{
    SimPhonebook book;
    book.last = count;
    for (int k = 1; k <= count; ++k)
        book.entries.insert(k, {QStringLiteral("0612345%1").arg(k, 3, 10, QLatin1Char('0')), 129,
                                QStringLiteral("NOME NUMERO %1").arg(k)});
    return book;
}

} // namespace

class TestLinkDeadline : public QObject {
    Q_OBJECT
private slots:
    void longAnswerArrivesWhole_data();
    void longAnswerArrivesWhole();
    void silentPhoneIsSentTheFrameOnceMore_data();
    void silentPhoneIsSentTheFrameOnceMore();
    void codesAloneKeepNoWaitAlive();
};

void TestLinkDeadline::longAnswerArrivesWhole_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<int>("pauseMs");

    // 40 entries, some 1.6 kB: 0.8 s on the line at 19200 baud, 2 s in
    // pieces of 32 bytes 40 ms apart.
    QTest::newRow("at 19200 baud") << 19200 << 0 << 0;
    QTest::newRow("in pieces with pauses") << 0 << 32 << 40;
}

void TestLinkDeadline::longAnswerArrivesWhole()
{
    QFETCH(int, baud);
    QFETCH(int, chunk);
    QFETCH(int, pauseMs);
    constexpr int kEntries = 40;
    SimPhone phone;
    phone.setPhonebooks({{SimStorage::Sim, fullSim(kEntries)}});
    QString why;
    QVERIFY2(phone.start(&why), qPrintable(why));
    PhoneLink link(kDeadline);
    QCOMPARE(link.open(phone.devicePath()), PortOpening::Opened);
    QCOMPARE(link.IOP("E0"_ba).final, Final::Ok);
    phone.setLineSpeed(baud);
    phone.setChunks(chunk, pauseMs);

    QElapsedTimer wall;
    wall.start();
    const AtReply reply = link.IOP("+CPBR=1,"_ba + QByteArray::number(kEntries));
    QCOMPARE(reply.final, Final::Ok);
    QCOMPARE(reply.lines.size(), kEntries);
    QCOMPARE(reply.lines.last(), "+CPBR: 40,\"0612345040\",129,\"NOME NUMERO 40\""_ba);
    QVERIFY2(wall.elapsed() > 2 * kDeadline.count(), qPrintable(QString::number(wall.elapsed())));
    QCOMPARE(phone.commands().size(), 2);
}

void TestLinkDeadline::silentPhoneIsSentTheFrameOnceMore_data()
{
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("silent") << QByteArray();
    QTest::newRow("bare ok") << QByteArray("OK");
    QTest::newRow("ok without final crlf") << QByteArray("\r\nOK");
}

// Half the deadline after the send the frame goes once more, and the rest
// of the deadline after that the call gives up: never a burst of resends.
// The wait must sleep, not spin.
void TestLinkDeadline::silentPhoneIsSentTheFrameOnceMore()
{
    QFETCH(QByteArray, answer);
    ScriptedPhone phone;
    QVERIFY(phone.start());
    phone.answerEachWith(answer);
    PhoneLink link(kDeadline);
    QCOMPARE(link.open(phone.device()), PortOpening::Opened);
    QElapsedTimer wall;
    QList<qint64> sentAt;
    connect(&link, &PhoneLink::frameSent, this, [&] { sentAt.append(wall.elapsed()); });

    wall.start();
    const double cpuBefore = processSeconds();
    QCOMPARE(link.IOP("Z"_ba).final, Final::NoAnswer);
    const double cpu = processSeconds() - cpuBefore;
    const qint64 elapsed = wall.elapsed();

    QCOMPARE(phone.received(), QByteArray("ATZ\r").repeated(2));
    QCOMPARE(sentAt.size(), 2);
    QVERIFY2(sentAt.at(1) >= kDeadline.count() / 2, qPrintable(QString::number(sentAt.at(1))));
    QVERIFY(elapsed >= kDeadline.count());
    QVERIFY2(elapsed < 5 * kDeadline.count(), qPrintable(QString::number(elapsed)));
    QVERIFY2(cpu < 0.25 * static_cast<double>(elapsed) / 1000.0,
             qPrintable(QStringLiteral("cpu %1 s in %2 ms").arg(cpu).arg(elapsed)));
    QVERIFY(link.isOpen());
}

// A stick that sends its signal strength every 50 ms while it ignores the
// command: the codes are no answer, and the call gives up on time.
void TestLinkDeadline::codesAloneKeepNoWaitAlive()
{
    constexpr int kCodes = 60;
    constexpr int kEvery = 50;
    ScriptedPhone phone;
    QVERIFY(phone.start());
    phone.setResponder([&phone](const QByteArray &) {
        for (int i = 1; i <= kCodes; ++i)
            phone.sendLater(i * kEvery, "\r\n^RSSI:14\r\n");
    });
    PhoneLink link(kDeadline);
    QCOMPARE(link.open(phone.device()), PortOpening::Opened);

    QElapsedTimer wall;
    wall.start();
    QCOMPARE(link.IOP("+CPBR=1"_ba).final, Final::NoAnswer);
    QVERIFY2(wall.elapsed() < kCodes * kEvery, qPrintable(QString::number(wall.elapsed())));
    QCOMPARE(phone.frames().size(), 2);
}

QTEST_GUILESS_MAIN(TestLinkDeadline)
#include "tst_linkdeadline.moc"
