#include "handshake.h"
#include "phonelink.h"
#include "scriptedphone.h"

#include <QTest>

using namespace std::chrono_literals;

namespace {

constexpr auto kDeadline = 3000ms;

const QByteArray kModelAnswer = "\r\nVELDRANO TEST PHONE\r\n\r\nOK\r\n";

} // namespace

class TestHandshake : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void echoingPhoneConnects();
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

void TestHandshake::echoingPhoneConnects()
{
    // A phone as it comes: echo on after each reset, off after E0.
    bool echo = true;
    m_phone->setResponder([this, &echo](const QByteArray &frame) {
        if (echo)
            m_phone->send(frame);
        if (frame == "ATZ\r")
            echo = true;
        else if (frame == "ATE0\r")
            echo = false;
        m_phone->send(frame == "AT+CGMM\r" ? kModelAnswer : QByteArray("\r\nOK\r\n"));
    });

    const HandshakeResult result = run(m_phone->device());
    QVERIFY(result.connected);
    QCOMPARE(result.model, QStringLiteral("VELDRANO TEST PHONE"));
    QCOMPARE(m_steps, QStringList({"opened:open", "echo"}));
    QVERIFY(m_link->isOpen());
    const QList<QByteArray> expected = {"ATZ\r", "ATZ\r", "ATZ\r", "ATE0\r",
                                        "ATQ0\r", "ATV1\r", "AT+CGMM\r"};
    QCOMPARE(m_phone->frames(), expected);
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
