// Ports that will not open, through the window against the simulated phone:
// the message says why, and the phone hears nothing.
#include "programlook.h"
#include "statusbar.h"
#include "temporaryuserfolders.h"
#include "windowsession.h"
#include "windowtexts.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
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

enum class Refusal { SecondCopy, ForeignLock, ExclusiveOpen, NoPermission, NoDevice };

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

class Form1PortTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void initTestCase() { applyProgramLook(); }
    void init();
    void cleanup() { s.reset(); }

    void refusedPortSendsNothing_data();
    void refusedPortSendsNothing();
    void longModelIsShortenedAndWholeInTheTooltip();

private:
    std::unique_ptr<WindowSession> s;
};

void Form1PortTest::init()
{
    s = std::make_unique<WindowSession>();
    s->otherPorts = {kForbiddenDevice, kAbsentDevice};
    QString why;
    QVERIFY2(s->start(&why), qPrintable(why));
}

void Form1PortTest::refusedPortSendsNothing_data()
{
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("message");
    QTest::newRow("held by a second copy") << Refusal::SecondCopy << WindowText::kPortBusy;
    QTest::newRow("held by a terminal's lock file") << Refusal::ForeignLock << WindowText::kPortBusy;
    QTest::newRow("held by an exclusive open") << Refusal::ExclusiveOpen << WindowText::kPortBusy;
    QTest::newRow("no permission") << Refusal::NoPermission << WindowText::kPortForbidden;
    QTest::newRow("device gone") << Refusal::NoDevice << WindowText::kPortAbsent;
}

void Form1PortTest::refusedPortSendsNothing()
{
    QFETCH(Refusal, refusal);
    QFETCH(QString, message);
    Form1 &f = *s->form;
    const QString phone = s->phone.devicePath();
    PhoneLink secondCopy;
    ExclusiveHolder exclusive(refusal == Refusal::ExclusiveOpen ? phone : QString());
    // A terminal program's lock, in the UUCP form, on the terminal the
    // phone's link leads to, held by a process that is running.
    QFile lock(kLockFolders.first() + QStringLiteral("/LCK..")
               + QFileInfo(phone).canonicalFilePath().mid(5).replace(QLatin1Char('/'), QLatin1Char('_')));
    const auto removeLock = qScopeGuard([&lock] { lock.remove(); });
    switch (refusal) {
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
        f.VScroll1->setValue(kForbiddenCom);
        break;
    }
    case Refusal::NoDevice:
        f.VScroll1->setValue(kAbsentCom);
        break;
    }

    s->click(f.Command1);
    QCOMPARE(s->message(), message);
    QCOMPARE(s->connection(), WindowText::kDisconnected);
    QVERIFY(f.VScroll1->isEnabled());
    QTest::qWait(50);
    QVERIFY(s->newCommands().isEmpty());

    // Once the holder lets go, the port opens: the refused attempt left no
    // lock behind.
    if (refusal == Refusal::SecondCopy || refusal == Refusal::ForeignLock
        || refusal == Refusal::ExclusiveOpen) {
        secondCopy.close();
        lock.remove();
        exclusive.release();
        s->click(f.Command1);
        QCOMPARE(s->connection(), WindowText::kConnected);
    }
}

void Form1PortTest::longModelIsShortenedAndWholeInTheTooltip()
{
    const QString model = QStringLiteral("SIEMENS S55 CON UN NOME DI MODELLO PIU LUNGO DEL PANNELLO");
    s->phone.setModel(model);
    s->click(s->form->Command1);
    const QString whole = WindowText::kConnectedTo + model;
    QCOMPARE(s->message(), whole);
    const auto *panel = s->form->StatusBar1->findChild<QLabel *>(QStringLiteral("panel2"));
    QVERIFY(panel->text().endsWith(QChar(0x2026)));
    QVERIFY(whole.startsWith(panel->text().chopped(1)));
    QVERIFY(panel->fontMetrics().horizontalAdvance(panel->text()) <= panel->contentsRect().width());
    QCOMPARE(panel->toolTip(), whole);

    // A text that fits is shown as it is, with no tooltip left over.
    s->click(s->form->Command1);
    QCOMPARE(panel->text(), s->message());
    QCOMPARE(panel->toolTip(), QString());
}

QTEST_MAIN(Form1PortTest)
#include "tst_form1port.moc"
