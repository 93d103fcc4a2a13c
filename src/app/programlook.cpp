#include "programlook.h"

#include <QApplication>
#include <QFont>
#include <QIcon>

void applyProgramLook()
{
    Q_INIT_RESOURCE(app);
    QFont dialogFont(QStringLiteral("DejaVu Sans"));
    dialogFont.setPointSizeF(8);
    QApplication::setFont(dialogFont);

    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/veldrano-32.png"));
    icon.addFile(QStringLiteral(":/icons/veldrano-16.png"));
    QApplication::setWindowIcon(icon);
}
