#pragma once

#include <QRect>
#include <QSize>
#include <QSizeF>

// The page arithmetic of the print window and of printing: fitting a picture
// inside a page, the ten placements, the zoom steps and the conversions
// between screen pixels and twips (1/1440 inch). No display is needed. Every
// rounding goes to the nearest integer with halves to the even neighbour, as
// the table's does, so the screen preview and the printed page agree to the
// pixel.
namespace PageArithmetic {

// Placements, in the order of the placement list.
constexpr int PlacementCount = 10;
constexpr int WholePage = 9;
// Zoom steps 0..9 stand for 10 % to 100 %.
constexpr int ZoomStepCount = 10;
constexpr int TwipsPerInch = 1440;

// A size multiplied by the zoom factor of a step, (step + 1) / 10, each side rounded.
QSize Zoomed(QSize size, int zoomIndex);

// Fits (w, h) into an available area, keeping the proportions when one side
// is too large and taking the margin off the side that was reduced; a size
// that fits loses the margin on both sides. Never negative.
QSize FitInside(QSize size, QSize available, int margin);

// Places a fitted size on a page by one of the placements 0..8 (left,
// centre or right by top, middle or bottom).
QRect Place(QSize fitted, QSize page, int positionIndex);

// The rectangle of the picture inside the preview box: the zoomed picture in
// pixels, fitted into the box and placed; "whole page" stretches it over the
// zoomed box, centred.
QRect PreviewRect(QSize picturePixels, int zoomIndex, int positionIndex, QSize previewBox);

// The rectangle of the picture on the printed page, in twips from the top
// left of the printable area: the picture keeps the physical size it has on
// the screen, times the zoom factor, reduced to fit the page when larger.
QRect PrintRect(QSize picturePixels, int zoomIndex, int positionIndex, QSizeF twipsPerPixel, QSize pageTwips);

// Twips to screen pixels and back, each side rounded.
QSize TwipsToPixels(QSize twips, QSizeF twipsPerPixel);
QSize PixelsToTwips(QSize pixels, QSizeF twipsPerPixel);

// The screen's twips per pixel for a logical resolution in dots per inch.
QSizeF TwipsPerPixel(double dpiX, double dpiY);

// The preview page inside the print window: the printer's page (already
// turned for the orientation) in screen pixels, fitted into the space below
// the strip with a margin of 1 % of the inner width, and centred there.
QRect PreviewPageRect(QSize pageTwips, QSizeF twipsPerPixel, QSize inner, int stripHeight);

} // namespace PageArithmetic
