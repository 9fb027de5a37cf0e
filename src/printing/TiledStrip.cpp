#include "printing/TiledStrip.h"

#include <QPainter>

void TileBackground(QPainter& painter, QSize target, const QImage& image) {
    const int step = image.height();
    if (step <= 0) {
        return;
    }
    for (int top = 0; top < target.height(); top += step) {
        for (int left = 0; left < target.width(); left += step) {
            painter.drawImage(left, top, image);
        }
    }
}

TiledStrip::TiledStrip(QWidget* parent)
    : QWidget(parent), m_tile(QStringLiteral(":/printing/strip_tile.png")) {
    setMouseTracking(true);
}

void TiledStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TileBackground(painter, size(), m_tile);
}
