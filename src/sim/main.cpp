#include "simphone.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

const QString kEmptyOk = QStringLiteral("ok");
const QString kEmptyNotFound = QStringLiteral("not-found");

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

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A GSM phone simulated behind a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption stateOption(QStringLiteral("state"),
                                         QStringLiteral("Phonebooks to load, and to write back on exit."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption strictOption(QStringLiteral("strict"),
                                          QStringLiteral("Follow 27.007 to the letter."));
    const QCommandLineOption latencyOption(QStringLiteral("latency"),
                                           QStringLiteral("Milliseconds before each answer."),
                                           QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption charsetOption(QStringLiteral("charset"),
                                           QStringLiteral("Character set after power-on: GSM, UCS2, IRA or 8859-1."),
                                           QStringLiteral("SET"), QStringLiteral("GSM"));
    const QCommandLineOption cmeeOption(QStringLiteral("cmee"),
                                        QStringLiteral("+CMEE at power-on: 0 plain ERROR, 1 error numbers, "
                                                       "2 error texts (default 0, 1 with --strict)."),
                                        QStringLiteral("N"));
    const QCommandLineOption emptyOption(QStringLiteral("empty-position"),
                                         QStringLiteral("How reading an empty position answers: ok, or "
                                                        "not-found (error 22) (default ok)."),
                                         QStringLiteral("ANSWER"), kEmptyOk);
    parser.addOption(stateOption);
    parser.addOption(charsetOption);
    parser.addOption(strictOption);
    parser.addOption(latencyOption);
    parser.addOption(cmeeOption);
    parser.addOption(emptyOption);
    parser.process(app);

    if (signalFd < 0)
        return fail(QStringLiteral("cannot watch for signals"));
    bool latencyOk = false;
    const int latency = parser.value(latencyOption).toInt(&latencyOk);
    if (!latencyOk || latency < 0)
        return fail(QStringLiteral("--latency wants a number of milliseconds"));
    SimModem::Options options = parser.isSet(strictOption) ? SimModem::Options::strict() : SimModem::Options();
    if (parser.isSet(cmeeOption)) {
        bool cmeeOk = false;
        options.cmee = parser.value(cmeeOption).toInt(&cmeeOk);
        if (!cmeeOk || options.cmee < SimModem::PlainErrors || options.cmee > SimModem::VerboseErrors)
            return fail(QStringLiteral("--cmee wants 0, 1 or 2"));
    }
    const QString empty = parser.value(emptyOption);
    if (empty == kEmptyNotFound)
        options.emptyPosition = SimModem::Options::EmptyPosition::NotFound;
    else if (empty != kEmptyOk)
        return fail(QStringLiteral("--empty-position wants %1 or %2").arg(kEmptyOk, kEmptyNotFound));

    const QString charset = parser.value(charsetOption).toUpper();
    if (!QStringList{"GSM", "UCS2", "IRA", "8859-1"}.contains(charset))
        return fail(QStringLiteral("--charset wants GSM, UCS2, IRA or 8859-1"));

    SimPhone phone(charset);
    const QString statePath = parser.value(stateOption);
    QString why;
    if (!statePath.isEmpty() && QFileInfo::exists(statePath) && !phone.loadState(statePath, &why))
        return fail(why);
    phone.setOptions(options);
    phone.setLatency(latency);
    if (!phone.start(&why))
        return fail(why);

    QTextStream(stdout) << phone.devicePath() << Qt::endl;

    QSocketNotifier endRequested(signalFd, QSocketNotifier::Read);
    QObject::connect(&endRequested, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    app.exec();

    phone.stop();
    ::close(signalFd);
    if (!statePath.isEmpty() && !phone.saveState(statePath, &why))
        return fail(why);
    return 0;
}
