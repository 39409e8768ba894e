#include "actionbutton.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace app {

ActionButton::ActionButton(const QString &caption, const QString &pictureResource, QWidget *parent)
    : QPushButton(parent)
{
    setCheckable(true);
    setAccessibleName(caption);

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
