// SPDX-License-Identifier: GPL-3.0-or-later
#include "spinscrollbar.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>

namespace {

// Rows of the arrow from its tip: 1, 3, 5 and 7 pixels wide.
constexpr int kArrowRows = 4;

void drawArrow(QPainter &painter, const QRect &button, bool up, const QColor &colour)
{
    const QPoint centre = button.center();
    const int tip = up ? centre.y() - kArrowRows / 2 : centre.y() + kArrowRows / 2;
    for (int row = 0; row < kArrowRows; ++row)
        painter.fillRect(centre.x() - row, up ? tip + row : tip - row, 2 * row + 1, 1, colour);
}

}

SpinScrollBar::SpinScrollBar(QWidget *parent)
    : QScrollBar(Qt::Vertical, parent)
{
}

void SpinScrollBar::paintEvent(QPaintEvent *)
{
    QStyleOptionSlider bar;
    initStyleOption(&bar);
    QPainter painter(this);
    painter.fillRect(rect(), bar.palette.button());

    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QColor arrow = bar.palette.color(group, QPalette::ButtonText);
    // The buttons are drawn where the style takes their clicks.
    for (const QStyle::SubControl line : {QStyle::SC_ScrollBarSubLine, QStyle::SC_ScrollBarAddLine}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = style()->subControlRect(QStyle::CC_ScrollBar, &bar, line, this);
        const bool pressed = (bar.activeSubControls & line) && (bar.state & QStyle::State_Sunken);
        button.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &painter, this);
        drawArrow(painter, button.rect, line == QStyle::SC_ScrollBarSubLine, arrow);
    }

    if (hasFocus()) {
        painter.setPen(bar.palette.color(QPalette::Highlight));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
