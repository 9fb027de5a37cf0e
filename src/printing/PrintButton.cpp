#include "printing/PrintButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

PrintButton::PrintButton(QWidget* parent) : QWidget(parent) {
    m_images[0] = QPixmap(QStringLiteral(":/printing/print_normal.png"));
    m_images[1] = QPixmap(QStringLiteral(":/printing/print_hover.png"));
    m_images[2] = QPixmap(QStringLiteral(":/printing/print_pressed.png"));
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(sizeHint());
}

QSize PrintButton::sizeHint() const {
    return m_images[0].isNull() ? QSize(132, 44) : m_images[0].size();
}

void PrintButton::setLook(Look look) {
    if (m_look != look) {
        m_look = look;
        update();
    }
}

void PrintButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& image = m_images[static_cast<int>(m_look)];
    if (isEnabled()) {
        painter.drawPixmap(0, 0, image);
        return;
    }
    // A disabled button (no picture, or a page being printed) looks greyed out.
    QStyleOption option;
    option.initFrom(this);
    painter.drawPixmap(0, 0, style()->generatedIconPixmap(QIcon::Disabled, m_images[0], &option));
}

void PrintButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressedHere = true;
        setLook(Look::Pressed);
    }
}

void PrintButton::mouseMoveEvent(QMouseEvent* event) {
    // While the left button is held the button keeps the mouse; outside its
    // own area it shows the normal look, as a click would not count there.
    if (!rect().contains(event->position().toPoint())) {
        setLook(Look::Normal);
        return;
    }
    setLook((event->buttons() & Qt::LeftButton) ? Look::Pressed : Look::Hover);
}

void PrintButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool inside = rect().contains(event->position().toPoint());
    const bool click = m_pressedHere && inside;
    m_pressedHere = false;
    setLook(inside ? Look::Hover : Look::Normal);
    if (click) {
        emit clicked();
    }
}

void PrintButton::leaveEvent(QEvent*) {
    setLook(Look::Normal);
}
