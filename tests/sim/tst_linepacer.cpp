// SPDX-License-Identifier: GPL-3.0-or-later
#include "linepacer.h"

#include <QtTest>

using namespace std::chrono_literals;
using Clock = LinePacer::Clock;

class TestLinePacer : public QObject {
    Q_OBJECT

private slots:
    void pieces_data();
    void pieces();
    void heldUntilItsTime();
    void incomingBytesTakeTheirTime();
};

void TestLinePacer::pieces_data()
{
    QTest::addColumn<int>("bytesPerSecond");
    QTest::addColumn<int>("chunkSize");
    QTest::addColumn<int>("pauseMs");
    // Piece sizes and the milliseconds after the start at which each is due.
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<QList<int>>("dueMs");

    QTest::newRow("instant line, whole") << 0 << 0 << 0 << QList<int>{40} << QList<int>{0};
    QTest::newRow("instant line, chunks of 16") << 0 << 16 << 5 << QList<int>{16, 16, 8} << QList<int>{0, 5, 10};
    QTest::newRow("single bytes") << 0 << 1 << 1 << QList<int>(40, 1) << [] {
        QList<int> due;
        for (int i = 0; i < 40; ++i)
            due.append(i);
        return due;
    }();
    QTest::newRow("1000 bytes/s trickles") << 1000 << 0 << 0 << QList<int>{16, 16, 8} << QList<int>{16, 32, 40};
    QTest::newRow("1000 bytes/s in chunks") << 1000 << 20 << 10 << QList<int>{20, 20} << QList<int>{20, 50};
}

void TestLinePacer::pieces()
{
    QFETCH(int, bytesPerSecond);
    QFETCH(int, chunkSize);
    QFETCH(int, pauseMs);
    QFETCH(QList<int>, sizes);
    QFETCH(QList<int>, dueMs);

    LinePacer pacer;
    pacer.setLineSpeed(bytesPerSecond);
    pacer.setChunks(chunkSize, std::chrono::milliseconds(pauseMs));
    const Clock::time_point start = Clock::now();
    const QByteArray answer(40, 'x');
    pacer.enqueue(answer, start);

    QByteArray sent;
    for (int i = 0; i < sizes.size(); ++i) {
        const Clock::time_point due = start + std::chrono::milliseconds(dueMs.at(i));
        QCOMPARE(pacer.nextDue().value(), due);
        if (due > start)
            QVERIFY(pacer.takeDue(due - 1us).isEmpty());
        const QByteArray piece = pacer.takeDue(due);
        QCOMPARE(piece.size(), sizes.at(i));
        sent += piece;
    }
    QVERIFY(pacer.isEmpty());
    QVERIFY(!pacer.nextDue());
    QCOMPARE(sent, answer);
}

void TestLinePacer::heldUntilItsTime()
{
    LinePacer pacer;
    const Clock::time_point start = Clock::now();
    pacer.enqueue("ATZ\r", start);
    pacer.enqueue("\r\nOK\r\n", start + 100ms);
    QCOMPARE(pacer.takeDue(start), QByteArray("ATZ\r"));
    QVERIFY(pacer.takeDue(start + 99ms).isEmpty());
    QCOMPARE(pacer.takeDue(start + 100ms), QByteArray("\r\nOK\r\n"));
}

void TestLinePacer::incomingBytesTakeTheirTime()
{
    LinePacer pacer;
    pacer.setLineSpeed(1000);
    const Clock::time_point start = Clock::now();
    QCOMPARE(pacer.receive(10, start), start + 10ms);
    // Bytes noticed while the earlier ones are still arriving queue behind them.
    QCOMPARE(pacer.receive(5, start + 2ms), start + 15ms);
    QCOMPARE(pacer.receive(1, start + 100ms), start + 101ms);
}

QTEST_GUILESS_MAIN(TestLinePacer)
#include "tst_linepacer.moc"
