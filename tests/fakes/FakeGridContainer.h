#pragma once

#include "grid/IGridContainer.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>

// A window for the table without a window: a canvas, a pointer the test moves, and a
// record of the back colours set and of every request to show the canvas.
class FakeGridContainer : public IGridContainer {
public:
    FakeGridContainer(int width, int height) : image(width, height, QImage::Format_RGB32) {
        image.fill(Qt::darkGray);
    }

    QImage& canvas() override { return image; }
    int clientWidth() const override { return image.width(); }
    int clientHeight() const override { return image.height(); }
    QPoint cursorPos() const override { return pointer; }
    void setBackColor(GdiColor color) override { backColors.append(color); }
    void showCanvas(const QRect& changed) override {
        ++shown;
        shownAreas.append(changed);
    }

    QImage image;
    QPoint pointer;
    QList<GdiColor> backColors;
    int shown = 0;
    QList<QRect> shownAreas; // empty: the whole canvas
};
