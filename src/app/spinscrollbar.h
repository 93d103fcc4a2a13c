// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollBar>

// A vertical scroll bar too short for a slider, drawn as the two buttons of
// a spin control with dark arrows, so that it reads as a control. It keeps
// the scroll bar's behaviour: the up arrow, the wheel turned up and the Up
// key lower the value, the others raise it. Since the keys act only with
// the focus, a frame shows when it has it.
class SpinScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit SpinScrollBar(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
