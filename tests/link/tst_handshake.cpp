// SPDX-License-Identifier: GPL-3.0-or-later
#include "handshake.h"
#include "phonelink.h"
#include "scriptedphone.h"

#include <QMap>
#include <QTest>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

constexpr auto kDeadline = 3000ms;

const QByteArray kModelAnswer = "\r\nVELDRANO TEST PHONE\r\n\r\nOK\r\n";

} // namespace

class TestHandshake : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void echoingPhoneConnects_data();
    void echoingPhoneConnects();
    void charsetChoice_data();
    void charsetChoice();
    void nonEchoingPhoneFails();
    void lineDroppedDuringSetUp();
    void noPortFails_data();
    void noPortFails();

private:
    HandshakeResult run(const QString &device);

    std::unique_ptr<ScriptedPhone> m_phone;
    PhoneLink *m_link = nullptr;
    QStringList m_steps;
};

void TestHandshake::init()
{
    m_phone = std::make_unique<ScriptedPhone>();
    QVERIFY(m_phone->start());
    m_link = new PhoneLink(kDeadline, this);
    m_steps.clear();
}

void TestHandshake::cleanup()
{
    delete m_link;
    m_phone.reset();
}

HandshakeResult TestHandshake::run(const QString &device)
{
    return runHandshake(
        *m_link, device,
        [this] { m_steps << QStringLiteral("opened:") + (m_link->isOpen() ? "open" : "closed"); },
        [this] { m_steps << QStringLiteral("echo"); });
}

void TestHandshake::echoingPhoneConnects_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::newRow("answers alone") << QByteArray();
    // As Huawei sticks send theirs, after the echo of the resets too.
    QTest::newRow("a vendor code in every answer") << QByteArray("\r\n^RSSI:14\r\n");
}

void TestHandshake::echoingPhoneConnects()
{
    QFETCH(QByteArray, code);
    // A phone as it comes: echo on after each reset, off after E0.
    bool echo = true;
    m_phone->setResponder([this, &echo, code](const QByteArray &frame) {
        if (echo)
            m_phone->send(frame);
        if (frame == "ATZ\r")
            echo = true;
        else if (frame == "ATE0\r")
            echo = false;
        m_phone->send(code + (frame == "AT+CGMM\r" ? kModelAnswer : QByteArray("\r\nOK\r\n")));
    });

    const HandshakeResult result = run(m_phone->device());
    QVERIFY(result.connected);
    QCOMPARE(result.model, QStringLiteral("VELDRANO TEST PHONE"));
    QCOMPARE(m_steps, QStringList({"opened:open", "echo"}));
    QVERIFY(m_link->isOpen());
    const QList<QByteArray> expected = {"ATZ\r", "ATZ\r", "ATZ\r", "ATE0\r",
                                        "ATQ0\r", "ATV1\r", "AT+CGMM\r", "AT+CSCS?\r"};
    QCOMPARE(m_phone->frames(), expected);
}

// What the phone answers to each frame, one answer after the other; the
// last one stays. Frames not named get "OK".
using Answers = QMap<QByteArray, QList<QByteArray>>;

void TestHandshake::charsetChoice_data()
{
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<QByteArray>("charset");

    const QByteArray query = "AT+CSCS?\r";
    const QByteArray offers = "AT+CSCS=?\r";
    const QByteArray toUcs2 = "AT+CSCS=\"UCS2\"\r";
    const QByteArray toLatin1 = "AT+CSCS=\"8859-1\"\r";
    const auto is = [](const char *name) { return "\r\n+CSCS: \"" + QByteArray(name) + "\"\r\n\r\nOK\r\n"; };
    const QByteArray all = "\r\n+CSCS: (\"IRA\",\"GSM\",\"UCS2\",\"8859-1\")\r\n\r\nOK\r\n";
    const QByteArray error = "\r\nERROR\r\n";

    QTest::newRow("GSM moves to UCS2") << Answers{{query, {is("GSM"), is("UCS2")}}, {offers, {all}}}
                                       << QList<QByteArray>{query, offers, toUcs2, query} << "UCS2"_ba;
    QTest::newRow("list without parentheses, 8859-1 only")
        << Answers{{query, {is("GSM"), is("8859-1")}},
                   {offers, {"\r\n+CSCS: \"GSM\",\"IRA\",\"8859-1\"\r\n\r\nOK\r\n"}}}
        << QList<QByteArray>{query, offers, toLatin1, query} << "8859-1"_ba;
    QTest::newRow("a vendor code in the selection's answer")
        << Answers{{query, {is("GSM"), is("UCS2")}}, {offers, {all}}, {toUcs2, {"\r\n^RSSI:14\r\n\r\nOK\r\n"}}}
        << QList<QByteArray>{query, offers, toUcs2, query} << "UCS2"_ba;
    QTest::newRow("taken but not read back") << Answers{{query, {is("GSM")}}, {offers, {all}}}
                                             << QList<QByteArray>{query, offers, toUcs2, query} << "GSM"_ba;
    QTest::newRow("selection refused") << Answers{{query, {is("GSM")}}, {offers, {all}}, {toUcs2, {error}}}
                                       << QList<QByteArray>{query, offers, toUcs2} << "GSM"_ba;
    QTest::newRow("HEX without UCS2 or 8859-1 stays")
        << Answers{{query, {is("HEX")}}, {offers, {"\r\n+CSCS: (\"IRA\",\"HEX\")\r\n\r\nOK\r\n"}}}
        << QList<QByteArray>{query, offers} << "HEX"_ba;
    QTest::newRow("IRA moves to UCS2") << Answers{{query, {is("IRA"), is("UCS2")}}, {offers, {all}}}
                                       << QList<QByteArray>{query, offers, toUcs2, query} << "UCS2"_ba;
    QTest::newRow("UCS2 kept") << Answers{{query, {is("UCS2")}}} << QList<QByteArray>{query} << "UCS2"_ba;
    QTest::newRow("8859-1 kept") << Answers{{query, {is("8859-1")}}} << QList<QByteArray>{query} << "8859-1"_ba;
    QTest::newRow("unknown set, nothing offered") << Answers{{query, {is("PCDN")}}, {offers, {error}}}
                                                  << QList<QByteArray>{query, offers} << ""_ba;
    QTest::newRow("no +CSCS at all") << Answers{{query, {error}}} << QList<QByteArray>{query} << ""_ba;
}

void TestHandshake::charsetChoice()
{
    QFETCH(Answers, answers);
    QFETCH(QList<QByteArray>, frames);
    QFETCH(QByteArray, charset);

    bool echo = true;
    m_phone->setResponder([&](const QByteArray &frame) {
        if (echo)
            m_phone->send(frame);
        if (frame == "ATZ\r" || frame == "ATE0\r")
            echo = frame == "ATZ\r";
        QList<QByteArray> &queue = answers[frame];
        if (queue.isEmpty())
            m_phone->send("\r\nOK\r\n");
        else
            m_phone->send(queue.size() > 1 ? queue.takeFirst() : queue.first());
    });

    QVERIFY(run(m_phone->device()).connected);
    QCOMPARE(m_phone->frames().mid(7), frames);
    QCOMPARE(m_link->charset().name(), charset);
}

void TestHandshake::nonEchoingPhoneFails()
{
    m_phone->answerEachWith("\r\nOK\r\n");
    const HandshakeResult result = run(m_phone->device());
    QVERIFY(!result.connected);
    QCOMPARE(m_steps, QStringList({"opened:open"}));
    QVERIFY(!m_link->isOpen());
    QCOMPARE(m_phone->frames().size(), 2);
}

void TestHandshake::lineDroppedDuringSetUp()
{
    m_phone->setResponder([this](const QByteArray &frame) {
        if (frame == "ATZ\r")
            m_phone->send("ATZ\r\r\nOK\r\n");
        else
            m_phone->hangUp();
    });
    const HandshakeResult result = run(m_phone->device());
    QVERIFY(!result.connected);
    QCOMPARE(m_steps, QStringList({"opened:open", "echo"}));
    QVERIFY(!m_link->isOpen());
}

void TestHandshake::noPortFails_data()
{
    QTest::addColumn<QString>("device");
    QTest::newRow("no device for the number") << QString();
    QTest::newRow("nonexistent device") << QStringLiteral("/dev/veldrano-no-such-port");
}

void TestHandshake::noPortFails()
{
    QFETCH(QString, device);
    const HandshakeResult result = run(device);
    QVERIFY(!result.connected);
    QVERIFY(m_steps.isEmpty());
    QVERIFY(!m_link->isOpen());
}

QTEST_GUILESS_MAIN(TestHandshake)
#include "tst_handshake.moc"
