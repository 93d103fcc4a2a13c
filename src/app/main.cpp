// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"
#include "phoneworker.h"
#include "portdirectory.h"
#include "programlook.h"
#ifdef Q_OS_UNIX
#include "endsignals.h"
#endif
#ifdef VELDRANO_DEMO
#include "simphone.h"
#endif

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QTextStream>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veldrano"));
    // --version gives the licence on a line of its own under the version,
    // and so does the message box that stands for it on Windows.
    QApplication::setApplicationVersion(
        QStringLiteral(VELDRANO_VERSION "\nLicenza: GNU GPL versione 3 o successiva (GPL-3.0-or-later)"));
    applyProgramLook();

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Mette in ordine alfabetico la rubrica di un telefono GSM."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Dispositivo seriale del prossimo numero COM (ripetibile)."),
                                  QStringLiteral("PATH"));
    options.addOption(port);
    QString phoneDevice;
#ifdef VELDRANO_DEMO
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Aggiunge un telefono simulato dopo i dispositivi --port."));
    options.addOption(demo);
    options.process(app);

    std::unique_ptr<SimPhone> phone;
    if (options.isSet(demo)) {
        // A phone as many come: GSM septets after a reset.
        phone = std::make_unique<SimPhone>(QStringLiteral("GSM"));
        QString why;
        if (!phone->start(&why)) {
            QTextStream(stderr) << "veldrano: telefono simulato non avviato: " << why << '\n';
            return 1;
        }
        phoneDevice = phone->devicePath();
    }
#else
    options.process(app);
#endif

    const PortDirectory ports(options.values(port), phoneDevice);
    PhoneWorker worker;
    Form1 form(worker, ports);
    QObject::connect(&form, &Form1::finished, &app, [] { QCoreApplication::exit(0); });
#ifdef Q_OS_UNIX
    const EndSignals ending(form);
#endif

    if (const QScreen *screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    form.show();
    return app.exec();
}
