// SPDX-License-Identifier: GPL-3.0-or-later
#include "phonecommandline.h"
#include "simphone.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "veldrano-phone: " << message << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Blocked before any thread exists, so that the phone's thread inherits
    // the mask and the signals reach the event loop through the descriptor.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
    const int signalFd = ::signalfd(-1, &endSignals, SFD_CLOEXEC | SFD_NONBLOCK);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veldrano-phone"));

    PhoneCommandLine::Settings settings;
    QString why;
    if (!PhoneCommandLine::parse(app, &settings, &why))
        return fail(why);
    if (signalFd < 0)
        return fail(QStringLiteral("cannot watch for signals"));

    SimPhone phone(settings.charset);
    if (!settings.statePath.isEmpty() && QFileInfo::exists(settings.statePath)
        && !phone.loadState(settings.statePath, &why))
        return fail(why);
    if (settings.simPositions > 0) {
        SimPhonebook sim = phone.phonebooks().value(SimStorage::Sim);
        const int last = sim.first + settings.simPositions - 1;
        if (!sim.entries.isEmpty() && sim.entries.lastKey() > last)
            return fail(QStringLiteral("--sim-size leaves out the SIM's entry at %1").arg(sim.entries.lastKey()));
        sim.last = last;
        phone.setPhonebook(SimStorage::Sim, sim);
    }
    phone.setOptions(settings.options);
    phone.setLatency(settings.latencyMs);
    if (!phone.start(&why))
        return fail(why);

    QTextStream(stdout) << phone.devicePath() << Qt::endl;

    QSocketNotifier endRequested(signalFd, QSocketNotifier::Read);
    QObject::connect(&endRequested, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    app.exec();

    phone.stop();
    ::close(signalFd);
    if (!settings.statePath.isEmpty() && !phone.saveState(settings.statePath, &why))
        return fail(why);
    return 0;
}
