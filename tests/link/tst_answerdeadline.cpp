// SPDX-License-Identifier: GPL-3.0-or-later
#include "answerdeadline.h"

#include <QTest>

using Step = AnswerDeadline::Step;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(AnswerDeadline::Step)

class TestAnswerDeadline : public QObject {
    Q_OBJECT
private slots:
    void next_data();
    void next();
};

void TestAnswerDeadline::next_data()
{
    // Milliseconds after the send, with a deadline of 20 s.
    QTest::addColumn<QList<int>>("heard");
    QTest::addColumn<QList<int>>("resent");
    QTest::addColumn<int>("now");
    QTest::addColumn<Step>("step");
    // For Wait: when to ask again.
    QTest::addColumn<int>("until");

    const QList<int> none;
    QTest::newRow("silent, before half the deadline") << none << none << 9999 << Step::Wait << 10000;
    QTest::newRow("silent half the deadline: sent again") << none << none << 10000 << Step::Resend << 0;
    QTest::newRow("silent after the resend") << none << QList<int>{10000} << 19999 << Step::Wait << 20000;
    QTest::newRow("silent the whole deadline: given up") << none << QList<int>{10000} << 20000 << Step::GiveUp << 0;
    QTest::newRow("resent late, the rest of the deadline after it")
        << none << QList<int>{10500} << 20000 << Step::Wait << 20500;
    QTest::newRow("answer begun: never sent again") << QList<int>{5000} << none << 10000 << Step::Wait << 25000;
    QTest::newRow("answer begun, then silent the deadline") << QList<int>{5000} << none << 25000 << Step::GiveUp << 0;
    QTest::newRow("answer still arriving past the deadline")
        << QList<int>{9000, 18000, 27000, 36000} << none << 40000 << Step::Wait << 56000;
    QTest::newRow("answer begun after the resend") << QList<int>{12000} << QList<int>{10000} << 25000 << Step::Wait
                                                   << 32000;
}

void TestAnswerDeadline::next()
{
    QFETCH(QList<int>, heard);
    QFETCH(QList<int>, resent);
    QFETCH(int, now);
    QFETCH(Step, step);
    QFETCH(int, until);

    const AnswerDeadline::Clock::time_point sent{};
    const auto at = [sent](int ms) { return sent + std::chrono::milliseconds(ms); };
    AnswerDeadline deadline(20s, sent);
    for (const int ms : resent)
        deadline.resent(at(ms));
    for (const int ms : heard)
        deadline.heard(at(ms));
    const AnswerDeadline::Next next = deadline.next(at(now));
    QCOMPARE(next.step, step);
    if (step == Step::Wait)
        QVERIFY(next.until == at(until));
}

QTEST_APPLESS_MAIN(TestAnswerDeadline)
#include "tst_answerdeadline.moc"
