#include "actionbutton.h"

#include <QIcon>
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

} // namespace app
