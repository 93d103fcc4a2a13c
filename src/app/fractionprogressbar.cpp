// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractionprogressbar.h"

#include <cmath>

namespace {
constexpr int kSteps = 10000;
}

FractionProgressBar::FractionProgressBar(QWidget *parent)
    : QProgressBar(parent)
{
    setRange(0, kSteps);
    setTextVisible(false);
    show();
}

void FractionProgressBar::setMaximumF(double maximum)
{
    if (!std::isfinite(maximum) || maximum <= kMinimum)
        return;
    m_maximum = maximum;
    setValueF(m_value);
}

void FractionProgressBar::setValueF(double value)
{
    if (std::isnan(value))
        return;
    m_value = qBound(kMinimum, value, m_maximum);
    show();
}

void FractionProgressBar::show()
{
    const double share = (m_value - kMinimum) / (m_maximum - kMinimum);
    setValue(int(std::lround(share * kSteps)));
}
