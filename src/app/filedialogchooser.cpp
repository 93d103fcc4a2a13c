#include "filedialogchooser.h"

#include <QFileDialog>

namespace {

// The dialog matches patterns by letter case; the list files are found in
// any case, so "*.RDS" also shows "x.rds" and "x.Rds".
QString anyCase(const QString &filter)
{
    QString pattern;
    for (const QChar c : filter) {
        if (c.isLetter())
            pattern += QLatin1Char('[') + c.toUpper() + c.toLower() + QLatin1Char(']');
        else
            pattern += c;
    }
    return filter + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

}

QString FileDialogChooser::openFileName(const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, QString(), QString(), anyCase(filter));
}

QString FileDialogChooser::saveFileName(const QString &filter)
{
    // The program itself decides the extension and replaces without asking.
    return QFileDialog::getSaveFileName(m_parent, QString(), QString(), anyCase(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}
