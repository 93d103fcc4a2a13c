// SPDX-License-Identifier: GPL-3.0-or-later
// How long the user looks at nothing: from the start of main, before the
// application object exists, until the window has painted itself for the
// first time. The window is made as the program makes it, on the offscreen
// platform unless another is asked for.
#include "benchresult.h"

#include "form1.h"
#include "phoneworker.h"
#include "portdirectory.h"
#include "programlook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

constexpr double kTargetMs = 1000;
// Far beyond any target: a window that never paints ends the run.
constexpr int kGiveUpMs = 30000;
const QByteArray kPlatformVariable = QByteArrayLiteral("QT_QPA_PLATFORM");
const QByteArray kHeadlessPlatform = QByteArrayLiteral("offscreen");

// Ends the event loop as the program does once its window has gone: quit()
// would ask the window to close, which it answers only by ending its session.
void endRun()
{
    QCoreApplication::exit(0);
}

// Notes the window's first paint and ends the event loop once everything
// that paint set off has been drawn.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer &sinceMain) : m_sinceMain(sinceMain) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && started < 0) {
            started = m_sinceMain.nsecsElapsed();
            QTimer::singleShot(0, this, [this] {
                finished = m_sinceMain.nsecsElapsed();
                endRun();
            });
        }
        return QObject::eventFilter(watched, event);
    }

    qint64 started = -1;
    qint64 finished = -1;

private:
    const QElapsedTimer &m_sinceMain;
};

double ms(qint64 ns)
{
    return ns / 1.0e6;
}

}

int main(int argc, char *argv[])
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (!qEnvironmentVariableIsSet(kPlatformVariable.constData()))
        qputenv(kPlatformVariable.constData(), kHeadlessPlatform);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veldrano"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    applyProgramLook();
    const qint64 applicationReady = sinceMain.nsecsElapsed();

    const PortDirectory ports{QStringList(), QString()};
    PhoneWorker worker;
    Form1 form(worker, ports);
    const qint64 windowMade = sinceMain.nsecsElapsed();

    FirstPaint firstPaint(sinceMain);
    form.installEventFilter(&firstPaint);
    if (const QScreen *screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    form.show();
    QTimer::singleShot(kGiveUpMs, &app, endRun);
    app.exec();

    if (firstPaint.finished < 0) {
        std::fprintf(stderr, "the window did not paint within %d ms\n", kGiveUpMs);
        return 1;
    }
    std::printf("platform %s: application ready %.1f ms, window made %.1f ms, first paint begun %.1f ms, "
                "done %.1f ms\n",
                qPrintable(QApplication::platformName()), ms(applicationReady), ms(windowMade),
                ms(firstPaint.started), ms(firstPaint.finished));
    BenchResult::print(QStringLiteral("window start: main to first paint of Form1 (%1)")
                           .arg(QApplication::platformName()),
                       BenchResult::milliseconds(ms(firstPaint.finished)),
                       QStringLiteral("< %1").arg(BenchResult::milliseconds(kTargetMs)),
                       BenchResult::met(ms(firstPaint.finished) < kTargetMs));
    return 0;
}
