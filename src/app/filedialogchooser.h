#pragma once

#include "filenamechooser.h"

class QWidget;

// The list file names asked of the user through Qt's file dialogs.
class FileDialogChooser : public FileNameChooser {
public:
    explicit FileDialogChooser(QWidget *parent) : m_parent(parent) {}

    QString openFileName(const QString &filter) override;
    QString saveFileName(const QString &filter) override;

private:
    QWidget *m_parent;
};
