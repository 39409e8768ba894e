// SPDX-License-Identifier: GPL-3.0-or-later
#include "actionbutton.h"

#include <QAccessibleWidget>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace app {

namespace {

// Qt describes a checkable button as a check box, which these are only in
// how they work inside: to the user, and so to assistive technology, they
// are push buttons that act when pressed. Their pictures and caption labels
// only draw the name the button already has, so they are left out.
class ActionButtonAccessible : public QAccessibleWidget {
public:
    explicit ActionButtonAccessible(ActionButton *button) : QAccessibleWidget(button, QAccessible::Button) { }

    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = static_cast<ActionButton *>(widget())->isDown();
        return state;
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            static_cast<ActionButton *>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface *actionButtonFactory(const QString &className, QObject *object)
{
    if (className != QLatin1StringView(ActionButton::staticMetaObject.className()))
        return nullptr;
    auto *button = qobject_cast<ActionButton *>(object);
    return button ? new ActionButtonAccessible(button) : nullptr;
}

} // namespace

void ActionButton::installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(actionButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

ActionButton::ActionButton(const QString &caption, const QString &pictureResource, QWidget *parent)
    : QPushButton(parent)
{
    setCheckable(true);
    setAccessibleName(caption);
    installAccessibility();

    auto *picture = new QLabel(this);
    picture->setPixmap(QIcon(pictureResource).pixmap(32, 32));
    picture->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

    m_caption = new QLabel(caption, this);
    m_caption->setWordWrap(true);
    m_caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The labels only draw; the button itself takes every click and move.
    for (QLabel *label : {picture, m_caption}) {
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setAttribute(Qt::WA_TranslucentBackground);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 6, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(picture, 1);
    layout->addWidget(m_caption, 1);

    setMouseTracking(true);
}

QString ActionButton::caption() const
{
    return m_caption->text();
}

void ActionButton::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT pointerMoved();
    QPushButton::mouseMoveEvent(event);
}

// Outside a dialog a push button leaves Enter to its window; here Enter on
// the focused button presses it, through the same click a mouse makes.
void ActionButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace app
