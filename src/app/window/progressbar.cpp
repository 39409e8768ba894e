// SPDX-License-Identifier: GPL-3.0-or-later
#include "progressbar.h"

#include <cmath>

namespace app {

PercentBar::PercentBar(QWidget *parent)
    : QProgressBar(parent)
{
    setRange(0, 100 * Scale);
    setValue(0);
    setTextVisible(false);
}

void PercentBar::setPercent(float percent)
{
    m_percent = percent;
    setValue(int(std::lround(double(percent) * Scale)));
}

} // namespace app
