// SPDX-License-Identifier: GPL-3.0-or-later
#include "filedialogchooser.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace {

const QString kFilterSeparator = QStringLiteral(";;");

// The dialog matches patterns by letter case; the list files are found in
// any case, so "*.RDS" also shows "x.rds" and "x.Rds". Filters come apart
// by ";;", the first one chosen.
QString anyCase(const QString &filters)
{
    QStringList shown;
    for (const QString &filter : filters.split(kFilterSeparator)) {
        QString pattern;
        for (const QChar c : filter) {
            if (c.isLetter())
                pattern += QLatin1Char('[') + c.toUpper() + c.toLower() + QLatin1Char(']');
            else
                pattern += c;
        }
        shown.append(filter + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return shown.join(kFilterSeparator);
}

}

QString FileDialogChooser::openFileName(const QString &filter)
{
    QFileDialog dialog(m_parent, QString(), QString(), anyCase(filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosen(dialog);
}

QString FileDialogChooser::saveFileName(const QString &filter)
{
    QFileDialog dialog(m_parent, QString(), QString(), anyCase(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The program itself decides the extension and replaces without asking.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return chosen(dialog);
}

QString FileDialogChooser::chosen(QFileDialog &dialog)
{
    // A place must exist to be listed; the system's own dialogs take no
    // places from the program.
    QDir().mkpath(m_place);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QList<QUrl> places = dialog.sidebarUrls();
    const QUrl place = QUrl::fromLocalFile(m_place);
    if (!places.contains(place))
        places.append(place);
    dialog.setSidebarUrls(places);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}
