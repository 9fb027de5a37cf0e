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

// The options the runtime window gives a table (frames on, 1-pixel inset, grey lines, highlight
// margins of 5); the tests vary only these.
struct TestGridOptions {
    GdiColor back = 0xFFFFFF;
    bool frames = true;
    bool selection = false;
    int spacing = 10;
    bool moveDisabled = false;
    bool clickDisabled = false;
};

inline std::unique_ptr<cGriglia> MakeTestGrid(FakeGridContainer& window, int rows, int columns,
                                              const TestGridOptions& o = {}) {
    auto grid = std::make_unique<cGriglia>();
    grid->Init(window, rows, columns, o.frames, 1, o.back, 0x808080, o.spacing, o.spacing, o.selection,
               0xFFF9F4, 5, 5, true, true, true, o.moveDisabled, o.clickDisabled);
    return grid;
}
