#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <vector>

// Decodes the pictures of the key rows on threads of its own and hands back
// small copies, so that the settings window opens at once however large the
// pictures are. Pictures are read with the runtime's own loader, so a
// picture that shows no thumbnail would show no picture on the table either.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    // `side`: the thumbnail's longer side in pixels.
    ThumbnailLoader(int rows, int side, QObject* parent = nullptr);
    // Waits only for the decodings already under way; the others are dropped.
    ~ThumbnailLoader() override;

    // Asks for the thumbnail of `path` for a row; a newer request for the
    // same row makes the older one's answer be dropped.
    void request(int row, const QString& path);
    // Waits until every requested thumbnail has been delivered (for measuring and tests).
    void waitForDone();

signals:
    // A null image: the file does not decode as a picture, and `problem` says why.
    void ready(int row, const QImage& thumbnail, const QString& problem);

private:
    void deliver(int row, quint64 ticket, const QImage& thumbnail, const QString& problem);

    const int m_side;
    std::vector<quint64> m_tickets;
    quint64 m_nextTicket = 0;
    QThreadPool m_pool;
};
