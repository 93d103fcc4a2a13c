// SPDX-License-Identifier: GPL-3.0-or-later
// Ports that will not open and phones that do not answer, at the session
// against the simulated phone: the message says why, and a port that did
// not open keeps the lists and sends the phone nothing.
#include "sessionrig.h"
#include "temporaryuserfolders.h"
#include "windowtexts.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A kernel attribute that cannot be written: its open for reading and
// writing fails with EACCES even for the superuser, whom file modes do not
// stop.
const QString kForbiddenDevice = QStringLiteral("/sys/devices/system/cpu/online");
const QString kAbsentDevice = QStringLiteral("/dev/veldrano-no-such-port");
constexpr int kForbiddenCom = 2;
constexpr int kAbsentCom = 3;

enum class Refusal { SilentPhone, SecondCopy, ForeignLock, ExclusiveOpen, NoPermission, NoDevice };

int openForUse(const QString &device)
{
    return ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

// Another program's plain open of the terminal, exclusive as long as it
// lasts.
class ExclusiveHolder {
public:
    explicit ExclusiveHolder(const QString &device) : m_fd(openForUse(device))
    {
        if (m_fd >= 0)
            ::ioctl(m_fd, TIOCEXCL);
    }
    ~ExclusiveHolder() { release(); }
    bool holds() const { return m_fd >= 0; }
    // A pseudo-terminal outlives its last open while the phone holds the
    // other end, and keeps the exclusive mode with it unless it is undone.
    void release()
    {
        if (m_fd >= 0) {
            ::ioctl(m_fd, TIOCNXCL);
            ::close(m_fd);
        }
        m_fd = -1;
    }

private:
    int m_fd;
};

}

class TestSessionPort : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void refusedPortSendsNothing_data();
    void refusedPortSendsNothing();
};

void TestSessionPort::refusedPortSendsNothing_data()
{
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("message");
    QTest::newRow("a phone that never answers") << Refusal::SilentPhone << WindowText::kConnectionError;
    QTest::newRow("held by a second copy") << Refusal::SecondCopy << WindowText::kPortBusy;
    QTest::newRow("held by a terminal's lock file") << Refusal::ForeignLock << WindowText::kPortBusy;
    QTest::newRow("held by an exclusive open") << Refusal::ExclusiveOpen << WindowText::kPortBusy;
    QTest::newRow("no permission") << Refusal::NoPermission << WindowText::kPortForbidden;
    QTest::newRow("device gone") << Refusal::NoDevice << WindowText::kPortAbsent;
}

void TestSessionPort::refusedPortSendsNothing()
{
    QFETCH(Refusal, refusal);
    QFETCH(QString, message);
    SessionRig r(std::chrono::milliseconds(refusal == Refusal::SilentPhone ? 200 : 3000));
    r.otherPorts = {kForbiddenDevice, kAbsentDevice};
    QString why;
    QVERIFY2(r.start(&why), qPrintable(why));
    PhonebookEntry kept;
    kept.position = 1;
    kept.name = QStringLiteral("kept");
    r.List2.setEntries({kept}, PhonebookLine::Layout::Sorted, {1, 4, 1});

    const QString phone = r.phone.devicePath();
    int com = 1;
    PhoneLink secondCopy;
    ExclusiveHolder exclusive(refusal == Refusal::ExclusiveOpen ? phone : QString());
    // A terminal program's lock, in the UUCP form, on the terminal the
    // phone's link leads to, held by a process that is running.
    QFile lock(kLockFolders.first() + QStringLiteral("/LCK..")
               + QFileInfo(phone).canonicalFilePath().mid(5).replace(QLatin1Char('/'), QLatin1Char('_')));
    const auto removeLock = qScopeGuard([&lock] { lock.remove(); });
    switch (refusal) {
    case Refusal::SilentPhone:
        r.phone.setSilence([](const QString &) { return true; });
        break;
    case Refusal::SecondCopy:
        QCOMPARE(secondCopy.open(phone), PortOpening::Opened);
        break;
    case Refusal::ForeignLock:
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QStringLiteral("%1\n").arg(::getppid(), 10).toLatin1());
        lock.close();
        break;
    case Refusal::ExclusiveOpen: {
        QVERIFY(exclusive.holds());
        const int other = openForUse(phone);
        if (other >= 0) {
            ::close(other);
            QSKIP("the superuser opens a terminal held exclusively");
        }
        break;
    }
    case Refusal::NoPermission: {
        const int other = openForUse(kForbiddenDevice);
        if (other >= 0 || errno != EACCES) {
            if (other >= 0)
                ::close(other);
            QSKIP("this system lets the kernel attribute be opened for writing");
        }
        com = kForbiddenCom;
        break;
    }
    case Refusal::NoDevice:
        com = kAbsentCom;
        break;
    }

    const Outcome outcome = r.run([com](PhonebookSession &s) { s.openOrClose(com); });
    QCOMPARE(outcome.message, message);
    QVERIFY(!outcome.done);
    QCOMPARE(r.connections.last(), false);
    QVERIFY(!r.session->isPortOpen());
    // A port that opened has cleared the lists, whatever the phone did.
    QCOMPARE(r.List2.rowCount(), refusal == Refusal::SilentPhone ? 0 : 1);
    QTest::qWait(50);
    if (refusal != Refusal::SilentPhone)
        QVERIFY(r.newCommands().isEmpty());

    // Once the holder lets go, the port opens: the refused attempt left no
    // lock behind.
    if (refusal == Refusal::SecondCopy || refusal == Refusal::ForeignLock
        || refusal == Refusal::ExclusiveOpen) {
        secondCopy.close();
        lock.remove();
        exclusive.release();
        QVERIFY(r.openOrClose().done);
        QCOMPARE(r.connections.last(), true);
    }
}

QTEST_GUILESS_MAIN(TestSessionPort)
#include "tst_sessionport.moc"
