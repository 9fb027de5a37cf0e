#pragma once

#include <QObject>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class MissingFileMark;
class QImage;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;
class ThumbnailLoader;

// What the rows of one key page of the settings window show around their
// boxes: the key's number, and by page a thumbnail of the picture, buttons
// to play and record the sound, a button to speak the text, and a mark on
// paths that name no file, and a "Cerca simbolo…" button on every picture
// row. Picture files dropped on the pictures page and
// WAV files dropped on the sounds page fill the rows from the one they were
// dropped on.
class KeyRows : public QObject {
    Q_OBJECT
public:
    static constexpr int Rows = 21;
    enum class Kind { Pictures, Sounds, Texts };

    // `withButtons`: the window can play, record and speak.
    KeyRows(Kind kind, const std::array<QLineEdit*, Rows>& boxes, bool withButtons, QObject* parent);
    ~KeyRows() override;

    bool isMissing(int row) const;
    // The row whose sound or text is being heard shows a stop button; -1 for none.
    void setPlaying(int row);
    // The row being recorded shows a level meter in place of its box; -1 for none.
    void setRecording(int row);
    void setLevel(double level);
    // Waits for the thumbnails asked for so far (for measuring and tests).
    void waitForThumbnails();
    // Turns a dropped picture file into the path its row takes (a PNG or SVG
    // becomes a picture the table draws); an empty result leaves the file out.
    void setPictureConverter(std::function<QString(const QString&)> convert);

signals:
    void playClicked(int row);
    void recordClicked(int row);
    void speakClicked(int row);
    // "Cerca simbolo…" of a picture row.
    void searchClicked(int row);
    // Files were dropped: `placed` rows were filled, `left` files found no row.
    void filesDropped(int placed, int left);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildRow(int row, QWidget* page);
    QPushButton* addButton(QWidget* page, int row, int left, const QString& name);
    void showThumbnail(int row, const QImage& thumbnail);
    void pictureChanged(int row);
    QStringList acceptedFiles(const class QMimeData* mime) const;

    const Kind m_kind;
    const std::array<QLineEdit*, Rows> m_boxes;
    const bool m_withButtons;
    std::array<MissingFileMark*, Rows> m_marks{};
    std::array<QLabel*, Rows> m_thumbnails{};
    std::array<QPushButton*, Rows> m_play{};
    std::array<QPushButton*, Rows> m_record{};
    std::function<QString(const QString&)> m_convert;
    QProgressBar* m_meter = nullptr;
    int m_playing = -1;
    int m_recording = -1;
    std::unique_ptr<ThumbnailLoader> m_loader;
};
