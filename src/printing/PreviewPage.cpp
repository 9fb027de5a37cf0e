#include "printing/PreviewPage.h"

#include "printing/PageArithmetic.h"

#include <QPainter>

PreviewPage::PreviewPage(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
}

void PreviewPage::setPicture(const QImage& picture) {
    m_picture = picture;
    update();
}

void PreviewPage::setChoices(int zoomIndex, int positionIndex) {
    m_zoomIndex = zoomIndex;
    m_positionIndex = positionIndex;
    update();
}

QRect PreviewPage::pictureRect() const {
    if (m_picture.isNull()) {
        return {};
    }
    return PageArithmetic::PreviewRect(m_picture.size(), m_zoomIndex, m_positionIndex, size());
}

void PreviewPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRect target = pictureRect();
    if (!target.isEmpty()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_picture);
    }
}
