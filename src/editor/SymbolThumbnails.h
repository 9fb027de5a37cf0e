#pragma once

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThreadPool>

// Small pictures of symbols for the search window, drawn on threads of their
// own and kept for the window's life. A picture that cannot be read gets an
// empty thumbnail, and is not tried again.
class SymbolThumbnails : public QObject {
    Q_OBJECT
public:
    explicit SymbolThumbnails(int side, QObject* parent = nullptr);
    // Drops the drawings not yet started and waits for those under way.
    ~SymbolThumbnails() override;

    int side() const { return m_side; }
    // The thumbnail when it is ready; otherwise null, and it is drawn and announced by ready().
    QImage get(const QString& file);
    // True when the file was tried and is no picture.
    bool unreadable(const QString& file) const;
    // Forgets the requests not yet started (the results they were for are gone).
    void dropPending();
    // Waits until every drawing asked for has been delivered (for measuring and tests).
    void waitForDone();

signals:
    void ready(const QString& file);

private:
    void deliver(const QString& file, const QImage& thumbnail);

    const int m_side;
    QCache<QString, QImage> m_done;
    QSet<QString> m_pending;
    QThreadPool m_pool;
};
