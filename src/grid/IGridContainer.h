#pragma once

#include "grid/GdiColor.h"

#include <QImage>
#include <QPoint>
#include <QRect>

// The window a table is laid over. The table owns no widget: it draws into the window's
// canvas and asks the window to show it. The window forwards a click (a button pressed
// and released over the window) to cGriglia::ContainerClick(), which reads the pointer
// through cursorPos(). No painter may be open on the canvas while the grid draws.
class IGridContainer {
public:
    virtual ~IGridContainer() = default;

    // The image everything is drawn into, the size of the client area, origin top left.
    // Asked for again on every drawing call, never kept; Format_RGB32 is expected (other
    // formats are converted in place before pixels are inverted).
    virtual QImage& canvas() = 0;
    // Client area size in pixels.
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;
    // Where the pointer is now, in client pixels. A click is placed where the pointer is
    // when the click is handled, which may be later than the press itself.
    virtual QPoint cursorPos() const = 0;
    // The window's back colour (0x00BBGGRR), which the window clears to.
    virtual void setBackColor(GdiColor color) = 0;
    // Shows the canvas as it is now (a widget update; no repaint of the table):
    // the area `changed`, or all of it when `changed` is empty. The smaller the
    // area, the sooner it is on screen; a chosen key's frame must be there
    // before its sound starts.
    virtual void showCanvas(const QRect& changed) = 0;
};
