// SPDX-License-Identifier: GPL-3.0-or-later
#include "programlook.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

void applyProgramLook()
{
    Q_INIT_RESOURCE(app);
    // The captions were laid out for the narrow dialog font of the old
    // system: at 8 points only a condensed face keeps "NUM:", "CAR:" and
    // "POSIZIONE:" inside their labels.
    QFont dialogFont;
    dialogFont.setFamilies({QStringLiteral("DejaVu Sans Condensed"),
                            QStringLiteral("Liberation Sans Narrow")});
    dialogFont.setPointSizeF(8);
    QApplication::setFont(dialogFont);

    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/veldrano-32.png"));
    icon.addFile(QStringLiteral(":/icons/veldrano-16.png"));
    QApplication::setWindowIcon(icon);
}
