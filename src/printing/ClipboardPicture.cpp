#include "printing/ClipboardPicture.h"

#include <QClipboard>
#include <QGuiApplication>

QImage ClipboardPicture() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard != nullptr ? clipboard->image() : QImage();
}
