// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a process of its own, against the simulated phone: the
// signals that end it end it as the window's close button does, with the
// port's lock file gone and nothing more sent; and a lock file that a
// finished run as root left keeps no user's copy off the port.
#include "portopening.h"
#include "simphone.h"
#include "temporaryuserfolders.h"
#include "windowtexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

const QString kWindowOnPort = QStringLiteral(WINDOWONPORT_PATH);
const QString kProgram = QStringLiteral(VELDRANO_PATH);
// Generous for a loaded machine; a passing test never waits it out.
constexpr int kWaitMs = 60000;
constexpr uid_t kNobody = 65534;
const QString kConnectedLine = WindowText::kConnected + QLatin1Char('|') + WindowText::kConnectedTo;

// The first line process prints; empty when it ends first.
QString firstLine(QProcess &process)
{
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(kWaitMs))
            return QString();
    }
    return QString::fromUtf8(process.readLine()).trimmed();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lock files that name pid on their first line.
QStringList locksNaming(qint64 pid)
{
    QStringList found;
    const QDir folder(kLockFolders.first());
    for (const QString &name : folder.entryList({QStringLiteral("LCK..*")}, QDir::Files)) {
        if (contents(folder.filePath(name)).split('\n').first().trimmed().toLongLong() == pid)
            found.append(name);
    }
    return found;
}

// Whether process pid has a handler of its own for signal.
bool catches(qint64 pid, int signal)
{
    const QList<QByteArray> lines = contents(QStringLiteral("/proc/%1/status").arg(pid)).split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

// A process number that no process has: the system gives out only those
// below its limit.
qint64 finishedPid()
{
    return contents(QStringLiteral("/proc/sys/kernel/pid_max")).trimmed().toLongLong();
}

void startAsNobody(QProcess &process, const QString &device)
{
    process.start(QStringLiteral("setpriv"),
                  {QStringLiteral("--reuid=%1").arg(kNobody), QStringLiteral("--regid=%1").arg(kNobody),
                   QStringLiteral("--clear-groups"), QStringLiteral("--"), kWindowOnPort, device});
}

void endAndWait(QProcess &process)
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(kWaitMs);
    }
}

}

class ProgramProcessTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { useTemporaryUserFolders(); }

private slots:
    void init();
    void cleanup() { m_phone.reset(); }

    void endSignalEndsAsTheCloseButton_data();
    void endSignalEndsAsTheCloseButton();
    void finishedProgramsLockKeepsNoUserOut_data();
    void finishedProgramsLockKeepsNoUserOut();

private:
    std::unique_ptr<SimPhone> m_phone;
};

void ProgramProcessTest::init()
{
    m_phone = std::make_unique<SimPhone>();
    QString why;
    QVERIFY2(m_phone->start(&why), qPrintable(why));
}

void ProgramProcessTest::endSignalEndsAsTheCloseButton_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("read");
    QTest::newRow("SIGTERM, port open") << kWindowOnPort << SIGTERM << false;
    QTest::newRow("SIGHUP, port open") << kWindowOnPort << SIGHUP << false;
    QTest::newRow("SIGINT, port open") << kWindowOnPort << SIGINT << false;
    QTest::newRow("SIGTERM, a read waiting on the phone") << kWindowOnPort << SIGTERM << true;
    QTest::newRow("SIGTERM, the program itself") << kProgram << SIGTERM << false;
}

void ProgramProcessTest::endSignalEndsAsTheCloseButton()
{
    QFETCH(QString, executable);
    QFETCH(int, signal);
    QFETCH(bool, read);
    const QString device = m_phone->devicePath();
    // The read's first phonebook command stays unanswered.
    if (read)
        m_phone->setSilence({QStringLiteral("+CPBS")});
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const bool program = executable == kProgram;
    // The program itself only takes the device; the helper opens it.
    QStringList args = program ? QStringList{QStringLiteral("--port"), device} : QStringList{device};
    if (read)
        args.append(QStringLiteral("--read"));
    process.start(executable, args);
    const auto stop = qScopeGuard([&process] { endAndWait(process); });
    QVERIFY(process.waitForStarted(kWaitMs));
    const qint64 pid = process.processId();
    if (!program) {
        const QString panels = firstLine(process);
        QVERIFY2(panels.startsWith(kConnectedLine), qPrintable(panels));
    }
    QTRY_VERIFY_WITH_TIMEOUT(catches(pid, signal), kWaitMs);
    if (read)
        QTRY_VERIFY_WITH_TIMEOUT(m_phone->commands().constLast().startsWith(QStringLiteral("AT+CPBS")),
                                 kWaitMs);
    QCOMPARE(locksNaming(pid).size(), program ? 0 : 1);
    const int sent = int(m_phone->commands().size());

    ::kill(static_cast<pid_t>(pid), signal);
    QVERIFY(process.waitForFinished(kWaitMs));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(locksNaming(pid), QStringList());
    QCOMPARE(m_phone->commands().mid(sent), QStringList());
}

void ProgramProcessTest::finishedProgramsLockKeepsNoUserOut_data()
{
    QTest::addColumn<QByteArray>("lockText");
    QTest::addColumn<bool>("rootsLock");
    const QByteArray pid = QByteArray::number(finishedPid());
    const QByteArray qtLock = pid + "\nveldrano\n" + QSysInfo::machineHostName().toUtf8() + '\n';
    const QByteArray uucpLock = pid.rightJustified(10) + '\n';
    QTest::newRow("this program's, left by root") << qtLock << true;
    QTest::newRow("a terminal program's, left by root") << uucpLock << true;
    QTest::newRow("a terminal program's, the user's own") << uucpLock << false;
}

void ProgramProcessTest::finishedProgramsLockKeepsNoUserOut()
{
    QFETCH(QByteArray, lockText);
    QFETCH(bool, rootsLock);
    if (::geteuid() != 0)
        QSKIP("a lock file that the user may not remove takes the superuser to make");
    if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("setpriv runs the program as another user");
    const QString device = m_phone->devicePath();
    // The user reaches the phone's terminal, through the folder of its link.
    const QFile::Permissions everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                      | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QVERIFY(QFile::setPermissions(QFileInfo(device).canonicalFilePath(), everyone));
    const QFile::Permissions passable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                      | QFile::ExeGroup | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(QFileInfo(device).path(), passable));
    // Named as the serial port class names its own, after the path opened.
    const QString lockName = QStringLiteral("LCK..") + QString(device).replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString lock = QDir(kLockFolders.first()).filePath(lockName);
    QFile file(lock);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lockText);
    file.close();
    const auto removeLock = qScopeGuard([&lock] { QFile::remove(lock); });
    if (!rootsLock)
        QCOMPARE(::chown(QFile::encodeName(lock).constData(), kNobody, kNobody), 0);

    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    startAsNobody(first, device);
    const auto stopFirst = qScopeGuard([&first] { endAndWait(first); });
    QVERIFY(first.waitForStarted(kWaitMs));
    const QString panels = firstLine(first);
    QVERIFY2(panels.startsWith(kConnectedLine), qPrintable(panels));
    // Root's lock stays as it was; the user's own goes.
    QCOMPARE(contents(lock) == lockText, rootsLock);

    // The exclusive open keeps a second copy off the port all the same.
    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    startAsNobody(second, device);
    const auto stopSecond = qScopeGuard([&second] { endAndWait(second); });
    QCOMPARE(firstLine(second), WindowText::kDisconnected + QLatin1Char('|') + WindowText::kPortBusy);

    const qint64 pid = first.processId();
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    QVERIFY(first.waitForFinished(kWaitMs));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(locksNaming(pid), QStringList());
}

QTEST_GUILESS_MAIN(ProgramProcessTest)
#include "tst_programprocess.moc"
