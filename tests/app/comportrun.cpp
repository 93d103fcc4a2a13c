// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real window against a phone on a serial port, as a user does:
// open the port, read the SIM phonebook, sort it, write it back. For the
// Windows build under Wine, where the phone sits behind COM1; the phone's
// own record tells whether the phonebook came out sorted.
//   comportrun DEVICE [PICTURE.png]
// PICTURE gets the screen around the window once the list is sorted.
#include "form1.h"
#include "phoneworker.h"
#include "portdirectory.h"
#include "programlook.h"
#include "statusbar.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextStream>

namespace {

// The margin of screen kept around the window, for its frame.
constexpr int kFrameMargin = 40;

bool step(Form1 &form, QPushButton *button, const QString &expected)
{
    QTest::mouseClick(button, Qt::LeftButton);
    const bool ended = QTest::qWaitFor([&form] { return !form.isBusy(); }, 600000);
    const QString shown = form.StatusBar1->panelText(button == form.Command1 ? 1 : 2);
    QTextStream(stdout) << button->text() << ": " << shown << Qt::endl;
    return ended && shown == expected;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    applyProgramLook();
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || args.size() > 3) {
        QTextStream(stderr) << "usage: comportrun DEVICE [PICTURE.png]\n";
        return 2;
    }

    PhoneWorker worker;
    const PortDirectory ports({args.at(1)}, QString(), QStringList());
    Form1 form(worker, ports);
    form.show();
    bool passed = QTest::qWaitForWindowExposed(&form)
               && step(form, form.Command1, QStringLiteral("CONNESSO"))
               && step(form, form.Command2, QStringLiteral("LETTURA TERMINATA"))
               && step(form, form.Command6, QStringLiteral("ORDINAMENTO TERMINATO"));
    if (passed && args.size() == 3) {
        QTest::qWait(500);
        const QRect around = form.frameGeometry().adjusted(-kFrameMargin, -kFrameMargin, kFrameMargin, kFrameMargin);
        const QPixmap picture = form.screen()->grabWindow(0, around.x(), around.y(), around.width(), around.height());
        if (!picture.save(args.at(2))) {
            QTextStream(stderr) << "cannot write " << args.at(2) << '\n';
            passed = false;
        }
    }
    passed = passed && step(form, form.Command3, QStringLiteral("SCRITTURA RUBRICA TERMINATA"));
    return passed ? 0 : 1;
}
