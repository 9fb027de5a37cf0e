#pragma once

#include "grid/IGridContainer.h"
#include "grid/cGriglia.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>

// A window for the table without a window: a canvas, a pointer the test moves, and a
// record of every request to show the canvas.
class FakeGridContainer : public IGridContainer {
public:
    FakeGridContainer(int width, int height) : image(width, height, QImage::Format_RGB32) {
        image.fill(Qt::darkGray);
    }

    QImage& canvas() override { return image; }
    int clientWidth() const override { return image.width(); }
    int clientHeight() const override { return image.height(); }
    QPoint cursorPos() const override { return pointer; }
    void setBackColor(GdiColor) override {}
    void showCanvas(const QRect& changed) override {
        ++shown;
        shownAreas.append(changed);
        if (onShow) {
            onShow();
        }
    }

    QImage image;
    QPoint pointer;
    int shown = 0;
    QList<QRect> shownAreas; // empty: the whole canvas
    std::function<void()> onShow;
};

// A table over the window with gaps of `spacing` pixels, as the runtime window makes them.
inline std::unique_ptr<cGriglia> MakeTestGrid(FakeGridContainer& window, int rows, int columns,
                                              int spacing = 10) {
    auto grid = std::make_unique<cGriglia>();
    grid->Init(window, rows, columns, spacing, spacing);
    return grid;
}
