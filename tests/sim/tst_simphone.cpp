// SPDX-License-Identifier: GPL-3.0-or-later
#include "simphone.h"

#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

qint64 msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The program's end of the line: the slave opened as a serial port is.
class Port {
public:
    explicit Port(const QString &path)
        : m_fd(::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        if (m_fd >= 0) {
            termios raw{};
            ::tcgetattr(m_fd, &raw);
            cfmakeraw(&raw);
            ::tcsetattr(m_fd, TCSANOW, &raw);
        }
    }
    ~Port()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isOpen() const { return m_fd >= 0; }

    void send(const QByteArray &bytes) { QCOMPARE(::write(m_fd, bytes.constData(), bytes.size()), ssize_t(bytes.size())); }

    // Reads until the bytes end with tail or timeoutMs pass; pieces counts the reads.
    QByteArray readUntil(const QByteArray &tail, int timeoutMs, int *pieces = nullptr)
    {
        QByteArray got;
        const Clock::time_point start = Clock::now();
        while (!got.endsWith(tail) && msSince(start) < timeoutMs) {
            pollfd fd{m_fd, POLLIN, 0};
            if (::poll(&fd, 1, 10) <= 0)
                continue;
            char buffer[4096];
            const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
            if (count <= 0) {
                m_dropped = true;
                break;
            }
            got.append(buffer, int(count));
            if (pieces)
                ++*pieces;
        }
        return got;
    }

    QByteArray IOP(const QByteArray &frame, const QByteArray &tail = "OK\r\n")
    {
        send(frame);
        return readUntil(tail, 2000);
    }

    bool dropped() const { return m_dropped; }

private:
    int m_fd;
    bool m_dropped = false;
};

} // namespace

class TestSimPhone : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void echoAndAnswer();
    void commandsArriveInPieces();
    void splitAnswer();
    void latencyHoldsTheAnswerNotTheEcho();
    void stopDuringLatencyIsPrompt();
    void lineSpeed();
    void silenceTheFirstTimes();
    void refusalLeavesThePhonebook();
    void unsolicitedCodes();
    void hangUpDropsTheLine();
    void waitForCommandCountTimesOut();

private:
    std::unique_ptr<SimPhone> m_phone;
    std::unique_ptr<Port> m_port;
};

void TestSimPhone::init()
{
    m_phone = std::make_unique<SimPhone>();
    QString why;
    QVERIFY2(m_phone->start(&why), qPrintable(why));
    QVERIFY(m_phone->isRunning());
    m_port = std::make_unique<Port>(m_phone->devicePath());
    QVERIFY(m_port->isOpen());
}

void TestSimPhone::cleanup()
{
    m_port.reset();
    m_phone.reset();
}

void TestSimPhone::echoAndAnswer()
{
    QCOMPARE(m_port->IOP("ATZ\r"), QByteArray("ATZ\r\r\nOK\r\n"));
    QCOMPARE(m_port->IOP("ATE0\r"), QByteArray("ATE0\r\r\nOK\r\n"));
    QCOMPARE(m_port->IOP("AT+CPBS=SM\r"), QByteArray("\r\nOK\r\n"));
    QCOMPARE(m_port->IOP("AT+CPBR=8\r"), QByteArray("\r\n+CPBR: 8,\"+393285556677\",145,\"NICOL?\"\r\n\r\nOK\r\n"));
    QCOMPARE(m_phone->commands(), (QStringList{"ATZ", "ATE0", "AT+CPBS=SM", "AT+CPBR=8"}));
}

void TestSimPhone::commandsArriveInPieces()
{
    m_port->send("AT+CP");
    QTest::qWait(20);
    m_port->send("BS=ME\r\nATE");
    QVERIFY(m_phone->waitForCommandCount(1, 1000));
    QCOMPARE(m_phone->selectedStorage(), SimStorage::PhoneMemory);
    m_port->send("0\rnoise\rAT+CPBR=2\r");
    QVERIFY(m_phone->waitForCommandCount(3, 1000));
    const QByteArray answers = m_port->readUntil("\r\n+CPBR: 2,\"3356021741\",129,\"LEONARDO GIORDANO\"\r\n\r\nOK\r\n", 2000);
    QVERIFY2(answers.startsWith("AT+CPBS=ME\r\r\nOK\r\nATE0\r\r\nOK\r\n\r\n+CPBR: 2,"), answers.constData());
    QCOMPARE(m_phone->commands(), (QStringList{"AT+CPBS=ME", "ATE0", "AT+CPBR=2"}));
}

void TestSimPhone::splitAnswer()
{
    // Pauses long enough that a busy machine still reads pieces apart.
    m_phone->setChunks(1, 20);
    int pieces = 0;
    m_port->send("ATE0\r");
    const QByteArray answer = m_port->readUntil("OK\r\n", 5000, &pieces);
    QCOMPARE(answer, QByteArray("ATE0\r\r\nOK\r\n"));
    QVERIFY2(pieces >= 3, qPrintable(QString::number(pieces)));
}

void TestSimPhone::latencyHoldsTheAnswerNotTheEcho()
{
    // A latency far above what a busy machine adds to the echo.
    m_phone->setLatency(1000);
    const Clock::time_point start = Clock::now();
    m_port->send("AT\r");
    QCOMPARE(m_port->readUntil("AT\r", 1000), QByteArray("AT\r"));
    QVERIFY(msSince(start) < 900);
    QCOMPARE(m_port->readUntil("OK\r\n", 3000), QByteArray("\r\nOK\r\n"));
    QVERIFY(msSince(start) >= 990);
}

void TestSimPhone::stopDuringLatencyIsPrompt()
{
    m_phone->setLatency(10000);
    m_port->send("ATE0\r");
    QVERIFY(m_phone->waitForCommandCount(1, 1000));
    const Clock::time_point start = Clock::now();
    m_phone->stop();
    QVERIFY(msSince(start) < 2000);
    QVERIFY(!m_phone->isRunning());
}

void TestSimPhone::lineSpeed()
{
    m_port->IOP("ATE0\r");
    m_phone->setLineSpeed(19200);
    const Clock::time_point start = Clock::now();
    int pieces = 0;
    m_port->send("AT+CPBR=1,20\r");
    const QByteArray answer = m_port->readUntil("\r\nOK\r\n", 3000, &pieces);
    QVERIFY(answer.endsWith("\r\nOK\r\n"));
    const qint64 expectedMs = (answer.size() + 13) * 1000 / 1920;
    QVERIFY2(msSince(start) >= expectedMs * 9 / 10, qPrintable(QStringLiteral("%1 bytes in %2 ms").arg(answer.size()).arg(msSince(start))));
    QVERIFY(pieces > 1);
}

void TestSimPhone::silenceTheFirstTimes()
{
    m_port->IOP("ATE0\r");
    m_phone->setSilence(QStringList{"+CGMM"}, 1);
    m_port->send("AT+CGMM\r");
    QVERIFY(m_phone->waitForCommandCount(2, 1000));
    QVERIFY(m_port->readUntil("OK\r\n", 150).isEmpty());
    QCOMPARE(m_port->IOP("AT+CGMM\r"), QByteArray("\r\nVELDRANO GSM SIMULATOR\r\n\r\nOK\r\n"));
    QCOMPARE(m_phone->commands().mid(1), (QStringList{"AT+CGMM", "AT+CGMM"}));
}

void TestSimPhone::refusalLeavesThePhonebook()
{
    m_port->IOP("ATE0\r");
    m_phone->setRefusal(QStringList{"+CPBW=5,"});
    const SimEntry before = m_phone->phonebook(SimStorage::Sim).value(5);
    QCOMPARE(m_port->IOP("AT+CPBW=5,\"0612\",129,\"NUOVO\"\r", "\r\n"), QByteArray("\r\nERROR\r\n"));
    QCOMPARE(m_phone->phonebook(SimStorage::Sim).value(5), before);
    QCOMPARE(m_port->IOP("AT+CPBW=6,\"0612\",129,\"NUOVO\"\r"), QByteArray("\r\nOK\r\n"));
    QCOMPARE(m_phone->phonebook(SimStorage::Sim).value(6), (SimEntry{"0612", 129, "NUOVO"}));
    // The erase form does not start with the prefix.
    QCOMPARE(m_port->IOP("AT+CPBW=5\r"), QByteArray("\r\nOK\r\n"));
    QVERIFY(!m_phone->phonebook(SimStorage::Sim).contains(5));
}

void TestSimPhone::unsolicitedCodes()
{
    m_port->IOP("ATE0\r");
    m_phone->setUnsolicited("\r\nRING\r\n", 2, SimPhone::BeforeAnswer | SimPhone::InsideAnswer);
    QCOMPARE(m_port->IOP("AT+CPBR=1\r"), QByteArray("\r\n+CPBR: 1,\"+393331234567\",145,\"MARIO ROSSI\"\r\n\r\nOK\r\n"));
    QCOMPARE(m_port->IOP("AT+CPBR=1\r"),
             QByteArray("\r\nRING\r\n\r\n+CPBR: 1,\"+393331234567\",145,\"MARIO ROSSI\"\r\n\r\nRING\r\n\r\nOK\r\n"));
    // No information text: only the code before the answer.
    m_port->IOP("AT\r");
    QCOMPARE(m_port->IOP("AT\r"), QByteArray("\r\nRING\r\n\r\nOK\r\n"));
}

void TestSimPhone::hangUpDropsTheLine()
{
    m_phone->setHangUpAfter(2);
    QCOMPARE(m_port->IOP("ATZ\r"), QByteArray("ATZ\r\r\nOK\r\n"));
    QCOMPARE(m_port->IOP("ATE0\r"), QByteArray("ATE0\r\r\nOK\r\n"));
    m_port->readUntil("never", 1000);
    QVERIFY(m_port->dropped());
    QVERIFY(!m_phone->isRunning());
    m_phone->stop();
}

void TestSimPhone::waitForCommandCountTimesOut()
{
    const Clock::time_point start = Clock::now();
    QVERIFY(!m_phone->waitForCommandCount(1, 100));
    QVERIFY(msSince(start) >= 90);
}

QTEST_GUILESS_MAIN(TestSimPhone)
#include "tst_simphone.moc"
