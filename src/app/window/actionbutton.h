// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

class QLabel;

namespace app {

// The window's large action buttons: a picture centred in the upper part and
// a caption below that wraps onto more lines. They are two-state buttons; the
// click handlers turn them back into push buttons (see Form1::whenPressed).
// Space and Enter press the one with the keyboard focus, as a click does.
class ActionButton : public QPushButton {
    Q_OBJECT

public:
    ActionButton(const QString &caption, const QString &pictureResource, QWidget *parent);
    QString caption() const;

Q_SIGNALS:
    void pointerMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    static void installAccessibility();

    QLabel *m_caption = nullptr;
};

} // namespace app
