#include "editor/ThumbnailLoader.h"

#include "pictures/PictureFile.h"

#include <QCoreApplication>
#include <QMetaObject>

ThumbnailLoader::ThumbnailLoader(int rows, int side, QObject* parent)
    : QObject(parent), m_side(side), m_tickets(std::size_t(rows), 0) {
    // The machine's cores are shared with the program's own sound and speech.
    m_pool.setMaxThreadCount(2);
}

ThumbnailLoader::~ThumbnailLoader() {
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailLoader::request(int row, const QString& path) {
    const quint64 ticket = ++m_nextTicket;
    m_tickets[std::size_t(row)] = ticket;
    const int side = m_side;
    m_pool.start([this, row, ticket, path, side] {
        const Result<QImage> picture = ReadPictureFile(path, QSize(side, side));
        const QImage thumbnail =
            picture ? picture->scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation) : QImage();
        const QString problem = picture ? QString() : picture.failure().message();
        // Delivered on the window's thread; dropped with this object if it is gone by then.
        QMetaObject::invokeMethod(
            this, [this, row, ticket, thumbnail, problem] { deliver(row, ticket, thumbnail, problem); },
            Qt::QueuedConnection);
    });
}

void ThumbnailLoader::waitForDone() {
    m_pool.waitForDone();
    QCoreApplication::sendPostedEvents(this);
}

void ThumbnailLoader::deliver(int row, quint64 ticket, const QImage& thumbnail, const QString& problem) {
    if (m_tickets[std::size_t(row)] == ticket) {
        emit ready(row, thumbnail, problem);
    }
}
