// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProgressBar>

namespace app {

// A progress bar from 0 to 100 that keeps fractional values (33.33...): the
// underlying integer range is scaled so that the bar moves smoothly.
class PercentBar : public QProgressBar {
    Q_OBJECT

public:
    explicit PercentBar(QWidget *parent = nullptr);

    void setPercent(float percent);
    float percent() const { return m_percent; }

private:
    static constexpr int Scale = 100;
    float m_percent = 0;
};

} // namespace app
