#pragma once

#include <QImage>

// The picture of the table the runtime window put on the system clipboard
// before opening the print window; a null image when the clipboard holds no
// picture.
QImage ClipboardPicture();
