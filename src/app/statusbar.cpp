#include "statusbar.h"

#include <QEvent>
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
    }
    layout->addStretch();
}

QString StatusBar::panelText(int panel) const
{
    return m_panels.at(panel - 1)->text();
}

void StatusBar::setPanelText(int panel, const QString &text)
{
    m_panels.at(panel - 1)->setText(text);
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
