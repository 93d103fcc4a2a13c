// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusbar.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

StatusBar::StatusBar(const QList<int> &panelWidths, QWidget *parent)
    : QFrame(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 2, 1, 1);
    layout->setSpacing(2);
    for (const int width : panelWidths) {
        auto *panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("panel%1").arg(m_panels.size() + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedWidth(width);
        panel->setTextFormat(Qt::PlainText);
        panel->installEventFilter(this);
        layout->addWidget(panel);
        m_panels.append(panel);
        m_texts.append(QString());
    }
    layout->addStretch();
}

QString StatusBar::panelText(int panel) const
{
    return m_texts.at(panel - 1);
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    QLabel *label = m_panels.at(panel - 1);
    m_texts[panel - 1] = text;
    // A framed label keeps half an "x" free before its text.
    const QFontMetrics metrics = label->fontMetrics();
    const int room = label->contentsRect().width() - metrics.horizontalAdvance(QLatin1Char('x')) / 2;
    const QString shown = metrics.elidedText(text, Qt::ElideRight, room);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

bool StatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        const int index = int(m_panels.indexOf(static_cast<QLabel *>(watched)));
        if (index >= 0) {
            emit panelClicked(index + 1);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
