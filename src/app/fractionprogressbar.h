// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProgressBar>

// A progress bar that takes fractional maxima and values: the operations
// count steps from 1 or step indices plus 0.1 above a minimum of 0.0001.
// Every value is clamped into the range, and a maximum that is not above
// the minimum is ignored, so the bar is always in a valid state.
class FractionProgressBar : public QProgressBar {
    Q_OBJECT
public:
    static constexpr double kMinimum = 0.0001;
    static constexpr double kInitialMaximum = 100.0;

    explicit FractionProgressBar(QWidget *parent = nullptr);

    void setMaximumF(double maximum);
    void setValueF(double value);
    double maximumF() const { return m_maximum; }
    double valueF() const { return m_value; }

private:
    void show();

    double m_maximum = kInitialMaximum;
    double m_value = kMinimum;
};
