// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;

// A status bar of three sunken panels numbered from 1, left to right, that
// tells which panel was clicked. A text wider than its panel is shown
// shortened with "…", and whole in the panel's tooltip.
class StatusBar : public QFrame {
    Q_OBJECT
public:
    explicit StatusBar(const QList<int> &panelWidths, QWidget *parent = nullptr);

    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);

signals:
    void panelClicked(int panel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QLabel *> m_panels;
    // Each panel's text as given, whether shown whole or not.
    QStringList m_texts;
};
