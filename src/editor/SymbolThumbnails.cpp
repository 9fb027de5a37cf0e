#include "editor/SymbolThumbnails.h"

#include "symbols/SymbolPicture.h"

#include <QCoreApplication>

namespace {
// 27 KB each at 96 pixels in RGB888: the window keeps about 11 MB of them,
// more than two full result lists, and stays well within its memory budget.
constexpr int CachedThumbnails = 400;
} // namespace

SymbolThumbnails::SymbolThumbnails(int side, QObject* parent)
    : QObject(parent), m_side(side), m_done(CachedThumbnails) {
    // The machine's cores are shared with the window and the program's sound.
    m_pool.setMaxThreadCount(2);
}

SymbolThumbnails::~SymbolThumbnails() {
    m_pool.clear();
    m_pool.waitForDone();
}

QImage SymbolThumbnails::get(const QString& file) {
    if (const QImage* done = m_done.object(file)) {
        return *done;
    }
    if (!m_pending.contains(file)) {
        m_pending.insert(file);
        const int side = m_side;
        m_pool.start([this, file, side] {
            const QImage picture = SymbolPicture::Read(file, side);
            const QImage thumbnail =
                picture.isNull() ? QImage() : SymbolPicture::OnWhiteSquare(picture, side);
            QMetaObject::invokeMethod(
                this, [this, file, thumbnail] { deliver(file, thumbnail); }, Qt::QueuedConnection);
        });
    }
    return {};
}

bool SymbolThumbnails::unreadable(const QString& file) const {
    const QImage* done = m_done.object(file);
    return done != nullptr && done->isNull();
}

void SymbolThumbnails::dropPending() {
    m_pool.clear();
    m_pending.clear();
}

void SymbolThumbnails::waitForDone() {
    m_pool.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

void SymbolThumbnails::deliver(const QString& file, const QImage& thumbnail) {
    m_pending.remove(file);
    // An unreadable picture is kept as a null image, so it is not read again.
    m_done.insert(file, new QImage(thumbnail));
    emit ready(file);
}
