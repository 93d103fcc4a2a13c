// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of the window as a user sees it after reading and sorting
// the demo SIM phonebook, for the README: windowscreenshot FILE.png
#include "programlook.h"
#include "temporaryuserfolders.h"
#include "windowsession.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // What the window keeps in the user's folders stays out of the home of
    // whoever makes the picture.
    useTemporaryUserFolders();
    QApplication app(argc, argv);
    applyProgramLook();
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "uso: windowscreenshot FILE.png\n";
        return 2;
    }

    // The demo phone: GSM septets after a reset, moved to UCS2.
    WindowSession session(std::chrono::milliseconds(3000), QStringLiteral("GSM"));
    QString why;
    if (!session.start(&why)) {
        QTextStream(stderr) << why << '\n';
        return 1;
    }
    session.click(session.form->Command1);
    session.click(session.form->Command2);
    session.click(session.form->Command6);
    session.selectLine(5);
    QApplication::processEvents();
    if (!session.form->grab().save(args.at(1))) {
        QTextStream(stderr) << "cannot write " << args.at(1) << '\n';
        return 1;
    }
    return 0;
}
