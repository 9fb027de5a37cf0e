#pragma once

#include <QPixmap>
#include <QWidget>

// The print button: a picture with three looks. Pressed while the left
// button is down on it, hover when the pointer rests on it, normal as soon
// as the pointer moves elsewhere in the window (the window says so).
class PrintButton : public QWidget {
    Q_OBJECT
public:
    enum class Look { Normal = 0, Hover = 1, Pressed = 2 };

    explicit PrintButton(QWidget* parent = nullptr);

    Look look() const { return m_look; }
    void setLook(Look look);
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_images[3];
    Look m_look = Look::Normal;
    bool m_pressedHere = false;
};
