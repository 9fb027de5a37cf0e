#include "printing/PageArithmetic.h"

#include "grid/GdiRound.h"

#include <algorithm>

namespace PageArithmetic {

QSize Zoomed(QSize size, int zoomIndex) {
    // Multiply before dividing, so that 0.1 steps stay exact and halves are
    // recognised as halves.
    const int tenths = zoomIndex + 1;
    return {RoundHalfEven(size.width() * tenths / 10.0), RoundHalfEven(size.height() * tenths / 10.0)};
}

QSize FitInside(QSize size, QSize available, int margin) {
    const double w = size.width();
    const double h = size.height();
    if (w <= 0 || h <= 0) {
        return {0, 0};
    }
    int newW = 0;
    int newH = 0;
    if (h > available.height()) {
        newH = available.height() - margin;
        newW = RoundHalfEven(newH * w / h);
        if (newW > available.width()) {
            newW = available.width() - margin;
            newH = RoundHalfEven(newW * h / w);
        }
    } else if (w > available.width()) {
        newW = available.width() - margin;
        newH = RoundHalfEven(newW * h / w);
    } else {
        newW = size.width() - margin;
        newH = size.height() - margin;
    }
    return {std::max(newW, 0), std::max(newH, 0)};
}

QRect Place(QSize fitted, QSize page, int positionIndex) {
    const int column = positionIndex % 3;
    const int row = positionIndex / 3;
    const int spareW = page.width() - fitted.width();
    const int spareH = page.height() - fitted.height();
    const int left = column == 0 ? 0 : column == 1 ? RoundHalfEven(spareW / 2.0) : spareW;
    const int top = row == 0 ? 0 : row == 1 ? RoundHalfEven(spareH / 2.0) : spareH;
    return {QPoint(left, top), fitted};
}

namespace {
QRect WholePageRect(QSize page, int zoomIndex) {
    const QSize size = Zoomed(page, zoomIndex);
    return {QPoint(RoundHalfEven((page.width() - size.width()) / 2.0),
                   RoundHalfEven((page.height() - size.height()) / 2.0)),
            size};
}
} // namespace

QRect PreviewRect(QSize picturePixels, int zoomIndex, int positionIndex, QSize previewBox) {
    if (positionIndex == WholePage) {
        return WholePageRect(previewBox, zoomIndex);
    }
    const QSize fitted = FitInside(Zoomed(picturePixels, zoomIndex), previewBox, 0);
    return Place(fitted, previewBox, positionIndex);
}

QRect PrintRect(QSize picturePixels, int zoomIndex, int positionIndex, QSizeF twipsPerPixel,
                QSize pageTwips) {
    if (positionIndex == WholePage) {
        return WholePageRect(pageTwips, zoomIndex);
    }
    const QSize zoomedTwips = PixelsToTwips(Zoomed(picturePixels, zoomIndex), twipsPerPixel);
    return Place(FitInside(zoomedTwips, pageTwips, 0), pageTwips, positionIndex);
}

QSize TwipsToPixels(QSize twips, QSizeF twipsPerPixel) {
    if (twipsPerPixel.width() <= 0 || twipsPerPixel.height() <= 0) {
        return {0, 0};
    }
    return {RoundHalfEven(twips.width() / twipsPerPixel.width()),
            RoundHalfEven(twips.height() / twipsPerPixel.height())};
}

QSize PixelsToTwips(QSize pixels, QSizeF twipsPerPixel) {
    return {RoundHalfEven(pixels.width() * twipsPerPixel.width()),
            RoundHalfEven(pixels.height() * twipsPerPixel.height())};
}

QSizeF TwipsPerPixel(double dpiX, double dpiY) {
    // An unknown resolution is taken as the usual 96 dots per inch.
    const double x = dpiX > 0 ? dpiX : 96.0;
    const double y = dpiY > 0 ? dpiY : 96.0;
    return {TwipsPerInch / x, TwipsPerInch / y};
}

QRect PreviewPageRect(QSize pageTwips, QSizeF twipsPerPixel, QSize inner, int stripHeight) {
    const int margin = RoundHalfEven(inner.width() / 100.0);
    const QSize page = TwipsToPixels(pageTwips, twipsPerPixel);
    const QSize box = FitInside(page, QSize(inner.width(), inner.height() - stripHeight), margin);
    const int left = RoundHalfEven((inner.width() - box.width()) / 2.0);
    const int top = RoundHalfEven((inner.height() + stripHeight - box.height()) / 2.0);
    return {QPoint(left, top), box};
}

} // namespace PageArithmetic
