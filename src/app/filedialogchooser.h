// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "filenamechooser.h"

#include <QString>

class QFileDialog;
class QWidget;

// The list file names asked of the user through Qt's file dialog, which
// lists a folder of the program's own among its places (the backups).
class FileDialogChooser : public FileNameChooser {
public:
    FileDialogChooser(QWidget *parent, const QString &place) : m_parent(parent), m_place(place) {}

    QString openFileName(const QString &filter) override;
    QString saveFileName(const QString &filter) override;

private:
    QString chosen(QFileDialog &dialog);

    QWidget *m_parent;
    QString m_place;
};
