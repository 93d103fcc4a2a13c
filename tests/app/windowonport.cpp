// SPDX-License-Identifier: GPL-3.0-or-later
// The program's window on one device, as a process of its own, for the
// tests of how the program ends and how it opens a locked port: it opens
// the port with its button and prints the connection and message panels,
// "|" between them, on one line; with --read it then reads the SIM
// phonebook. It ends on the program's end signals, as the program does.
//   windowonport DEVICE [--read]
#include "endsignals.h"
#include "form1.h"
#include "phoneworker.h"
#include "portdirectory.h"
#include "programlook.h"
#include "statusbar.h"

#include <QApplication>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

namespace {

const QString kReadOption = QStringLiteral("--read");

}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    applyProgramLook();
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args.at(2) != kReadOption)) {
        QTextStream(stderr) << "usage: windowonport DEVICE [" << kReadOption << "]\n";
        return 2;
    }
    const bool read = args.size() == 3;

    PhoneWorker worker;
    const PortDirectory ports({args.at(1)}, QString(), QStringList());
    Form1 form(worker, ports);
    QObject::connect(&form, &Form1::finished, &app, [] { QCoreApplication::exit(0); });
    const EndSignals ending(form);
    form.show();
    // The panels are printed once the port's opening has ended.
    QTimer opened;
    opened.setInterval(10);
    QObject::connect(&opened, &QTimer::timeout, &form, [&form, &opened, read] {
        if (form.isBusy())
            return;
        opened.stop();
        QTextStream(stdout) << form.StatusBar1->panelText(1) << '|' << form.StatusBar1->panelText(2)
                            << Qt::endl;
        if (read)
            form.Command2->click();
    });
    QTimer::singleShot(0, &form, [&form, &opened] {
        form.Command1->click();
        opened.start();
    });
    return app.exec();
}
