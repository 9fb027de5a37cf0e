#pragma once

#include <QImage>
#include <QWidget>

// The preview page: a white box with the proportions of the printer's page
// and the picture of the table placed on it.
class PreviewPage : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPage(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    void setChoices(int zoomIndex, int positionIndex);
    // Where the picture is drawn for the current size and choices; empty
    // without a picture.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    int m_zoomIndex = 9;
    int m_positionIndex = 0;
};
