// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

// Shows the two separator characters of a phonebook line as the box-drawing
// characters they are in the phone's old OEM font, so that the fields read
// as a table. The line text itself keeps its characters.
class SeparatorDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QString shown(QString line);
    QString displayText(const QVariant &value, const QLocale &locale) const override;
};
