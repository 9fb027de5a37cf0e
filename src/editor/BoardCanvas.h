#pragma once

#include "grid/IGridContainer.h"

#include <QHash>
#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>

class LayoutEditor;
class cGriglia;

// The board editor's picture of a board: the table as it will look (the
// table's own grid and picture drawing), each key's words under it, and
// marks for a missing picture or sound, a link and the forced-input order.
// One key is selected; the arrows move the selection, Enter and a click open
// it, Ctrl with an arrow and a drag from key to key swap keys, and picture
// files dropped on a key become its picture.
class BoardCanvas : public QWidget, public IGridContainer {
    Q_OBJECT
public:
    BoardCanvas(const LayoutEditor& board, bool keepProportions, QWidget* parent = nullptr);
    ~BoardCanvas() override;

    // Draws the board as it is now: pictures already decoded are not read again.
    void refresh();
    int selected() const { return m_selected; }
    void select(int key);
    // The key at a point of the widget, 0 for none.
    int keyAt(QPoint point) const;

    QImage& canvas() override { return m_canvas; }
    int clientWidth() const override { return width(); }
    int clientHeight() const override { return height(); }
    QPoint cursorPos() const override;
    void setBackColor(GdiColor) override {}
    void showCanvas(const QRect& changed) override;

signals:
    void keyActivated(int key);
    void swapAsked(int from, int to);
    void picturesDropped(int key, const QStringList& files);
    void selectionChanged(int key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void drawMarks(int key, const QRect& cell);
    QRect cellOf(int key) const;
    void describe();

    const LayoutEditor& m_board;
    const bool m_keepProportions;
    QImage m_canvas;
    std::unique_ptr<cGriglia> m_grid;
    int m_keys = 0;
    int m_selected = 1;
    int m_pressed = 0;
    // Decoded pictures by path, at the side they were decoded for.
    QHash<QString, QImage> m_pictures;
    int m_pictureSide = 0;
};
