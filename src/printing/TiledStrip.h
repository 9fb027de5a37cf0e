#pragma once

#include <QImage>
#include <QWidget>

class QPainter;

// Paints the image over the target again and again from the top left. Rows
// and columns both advance by the image's height, so the tile is square.
void TileBackground(QPainter& painter, QSize target, const QImage& image);

// The strip at the top of the print window, with its tiled background.
class TiledStrip : public QWidget {
    Q_OBJECT
public:
    explicit TiledStrip(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_tile;
};
