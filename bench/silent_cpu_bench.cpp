// SPDX-License-Identifier: GPL-3.0-or-later
// What a transaction costs the machine while the phone keeps silent: the
// window waits inside IOP for as long as the link's deadline, and that wait
// must leave the processor to others. The simulated phone serves from a
// thread of its own in this process, so the figure is the calling thread's
// CPU time alone; the whole process is shown beside it for reference.
#include "benchresult.h"

#include "atcommands.h"
#include "phonelink.h"
#include "simphone.h"
#include "startedphone.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

constexpr std::chrono::milliseconds kDeadline{3000};
constexpr double kTargetPercent = 5.0;
const QByteArray kCommand = AtCommands::kModelQuery;
const QByteArray kGivenUp = AtCommands::kError;

double cpuSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + now.tv_nsec / 1.0e9;
}

QString share(double cpuSeconds, double wallSeconds)
{
    return QStringLiteral("%1 % of one core (%2 CPU in %3 s)")
        .arg(100.0 * cpuSeconds / wallSeconds, 0, 'f', 2)
        .arg(BenchResult::milliseconds(cpuSeconds * 1000.0))
        .arg(wallSeconds, 0, 'f', 2);
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SimPhone phone;
    if (!startPhone(phone))
        return 1;
    phone.setSilence([](const QString &) { return true; });
    PhoneLink link(kDeadline);
    QString why;
    if (link.open(phone.devicePath(), &why) != PortOpening::Opened) {
        std::fprintf(stderr, "port not opened: %s\n", qPrintable(why));
        return 1;
    }

    const double threadBefore = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const double processBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    QElapsedTimer wall;
    wall.start();
    const QByteArray answer = link.IOP(kCommand).text();
    const double wallSeconds = wall.nsecsElapsed() / 1.0e9;
    const double threadCpu = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - threadBefore;
    const double processCpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore;

    std::printf("IOP(\"%s\") on a silent phone gave \"%s\" after %.2f s (deadline %lld ms)\n",
                kCommand.constData(), answer.constData(), wallSeconds,
                static_cast<long long>(kDeadline.count()));
    const QString name = QStringLiteral("silent phone, %1 s deadline: CPU while IOP waits")
                             .arg(kDeadline.count() / 1000.0, 0, 'f', 0);
    BenchResult::print(name + QStringLiteral(" (calling thread)"), share(threadCpu, wallSeconds),
                       QStringLiteral("< %1 %").arg(kTargetPercent, 0, 'f', 0),
                       BenchResult::met(100.0 * threadCpu / wallSeconds < kTargetPercent));
    BenchResult::print(name + QStringLiteral(" (whole process, phone thread included)"),
                       share(processCpu, wallSeconds), QStringLiteral("—"), BenchResult::Verdict::Info);
    return answer == kGivenUp ? 0 : 1;
}
