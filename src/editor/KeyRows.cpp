#include "editor/KeyRows.h"

#include "config/FileExists.h"
#include "editor/FormControls.h"
#include "editor/MissingFileMark.h"
#include "editor/ThumbnailLoader.h"
#include "editor/Twips.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

namespace {
// Rows in twips, as the boxes stood before: one every 360, 315 high.
constexpr int RowTop = 270;
constexpr int RowPitch = 360;
constexpr int RowHeight = 315;
constexpr int NumberLeft = 120;
constexpr int NumberWidth = 315;
constexpr int ThumbnailLeft = 480;
constexpr int ThumbnailWidth = 330;
constexpr int ButtonWidth = 330;
constexpr int MarkLeft = 7650;
constexpr int MarkWidth = 285;
constexpr int SearchWidth = 1380;

int Top(int row) {
    return RowTop + row * RowPitch;
}

QIcon RecordIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xd0, 0, 0));
    painter.drawEllipse(2, 2, 12, 12);
    return QIcon(pixmap);
}

const QStringList PictureSuffixes{"gif", "bmp", "jpg", "jpeg", "png", "svg", "wmf", "emf"};
const QStringList SoundSuffixes{"wav"};
} // namespace

KeyRows::KeyRows(Kind kind, const std::array<QLineEdit*, Rows>& boxes, bool withButtons, QObject* parent)
    : QObject(parent), m_kind(kind), m_boxes(boxes), m_withButtons(withButtons) {
    QWidget* page = boxes[0]->parentWidget();
    if (kind == Kind::Pictures) {
        m_loader =
            std::make_unique<ThumbnailLoader>(Rows, Twips::ToPixels(*page, 0, 0, 0, RowHeight).height());
        connect(m_loader.get(), &ThumbnailLoader::ready, this, &KeyRows::showThumbnail);
    }
    for (int row = 0; row < Rows; ++row) {
        buildRow(row, page);
    }
    setPlaying(-1);
    setRecording(-1);
}

KeyRows::~KeyRows() = default;

void KeyRows::buildRow(int row, QWidget* page) {
    QLineEdit* box = m_boxes[std::size_t(row)];
    auto* number = new QLabel(QString::number(row + 1), page);
    number->setObjectName(box->objectName() + QStringLiteral("_number"));
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Twips::Place(*number, NumberLeft, Top(row), NumberWidth, RowHeight);
    const int key = row + 1;
    switch (m_kind) {
    case Kind::Pictures: {
        auto* thumbnail = new QLabel(page);
        thumbnail->setObjectName(box->objectName() + QStringLiteral("_thumbnail"));
        thumbnail->setAlignment(Qt::AlignCenter);
        thumbnail->setStyleSheet(QStringLiteral("color: #d00000; font-weight: bold;"));
        Twips::Place(*thumbnail, ThumbnailLeft, Top(row), ThumbnailWidth, RowHeight);
        m_thumbnails[std::size_t(row)] = thumbnail;
        const int boxLeft = ThumbnailLeft + ThumbnailWidth + 60;
        const int searchLeft = MarkLeft - 30 - SearchWidth;
        Twips::Place(*box, boxLeft, Top(row), searchLeft - 30 - boxLeft, RowHeight);
        connect(box, &QLineEdit::textChanged, this, [this, row] { pictureChanged(row); });
        QPushButton* search =
            MakeButton(page, box->objectName() + QStringLiteral("_search"), QStringLiteral("Cerca simbolo…"));
        search->setAccessibleName(QStringLiteral("Cerca simbolo per il tasto %1").arg(key));
        search->setToolTip(search->accessibleName());
        search->setFocusPolicy(Qt::TabFocus);
        Twips::Place(*search, searchLeft, Top(row), SearchWidth, RowHeight);
        connect(search, &QPushButton::clicked, this, [this, row] { emit searchClicked(row); });
        break;
    }
    case Kind::Sounds: {
        const int playLeft = MarkLeft - 2 * (ButtonWidth + 30);
        Twips::Place(*box, ThumbnailLeft, Top(row), playLeft - 60 - ThumbnailLeft, RowHeight);
        if (m_withButtons) {
            QPushButton* play = addButton(page, row, playLeft, QStringLiteral("_play"));
            play->setAccessibleName(QStringLiteral("Ascolta il suono del tasto %1").arg(key));
            connect(play, &QPushButton::clicked, this, [this, row] { emit playClicked(row); });
            QPushButton* record =
                addButton(page, row, playLeft + ButtonWidth + 30, QStringLiteral("_record"));
            record->setAccessibleName(QStringLiteral("Registra il suono del tasto %1").arg(key));
            connect(record, &QPushButton::clicked, this, [this, row] { emit recordClicked(row); });
            m_play[std::size_t(row)] = play;
            m_record[std::size_t(row)] = record;
        }
        break;
    }
    case Kind::Texts: {
        const int speakLeft = MarkLeft - 30;
        Twips::Place(*box, ThumbnailLeft, Top(row), speakLeft - 60 - ThumbnailLeft, RowHeight);
        if (m_withButtons) {
            QPushButton* speak = addButton(page, row, speakLeft, QStringLiteral("_speak"));
            speak->setAccessibleName(QStringLiteral("Ascolta il testo del tasto %1").arg(key));
            connect(speak, &QPushButton::clicked, this, [this, row] { emit speakClicked(row); });
            m_play[std::size_t(row)] = speak;
        }
        break;
    }
    }
    if (m_kind != Kind::Texts) {
        m_marks[std::size_t(row)] = new MissingFileMark(*box, MarkLeft, Top(row), MarkWidth, RowHeight);
        box->installEventFilter(this);
    }
}

QPushButton* KeyRows::addButton(QWidget* page, int row, int left, const QString& name) {
    QPushButton* button = MakeButton(page, m_boxes[std::size_t(row)]->objectName() + name, QString());
    Twips::Place(*button, left, Top(row), ButtonWidth, RowHeight);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

bool KeyRows::isMissing(int row) const {
    const MissingFileMark* mark = m_marks[std::size_t(row)];
    return mark != nullptr && mark->isMissing();
}

void KeyRows::setPlaying(int row) {
    m_playing = row;
    for (int r = 0; r < Rows; ++r) {
        QPushButton* button = m_play[std::size_t(r)];
        if (button == nullptr) {
            continue;
        }
        const bool playing = r == row;
        button->setIcon(button->style()->standardIcon(playing                 ? QStyle::SP_MediaStop
                                                      : m_kind == Kind::Texts ? QStyle::SP_MediaVolume
                                                                              : QStyle::SP_MediaPlay));
        button->setToolTip(playing ? QStringLiteral("Ferma") : button->accessibleName());
    }
}

void KeyRows::setRecording(int row) {
    if (m_recording >= 0) {
        m_boxes[std::size_t(m_recording)]->show();
    }
    m_recording = row;
    for (int r = 0; r < Rows; ++r) {
        QPushButton* button = m_record[std::size_t(r)];
        if (button == nullptr) {
            continue;
        }
        button->setIcon(r == row ? button->style()->standardIcon(QStyle::SP_MediaStop) : RecordIcon());
        button->setToolTip(r == row ? QStringLiteral("Ferma la registrazione") : button->accessibleName());
        button->setEnabled(row < 0 || r == row);
    }
    if (row < 0) {
        if (m_meter != nullptr) {
            m_meter->hide();
        }
        return;
    }
    QLineEdit* box = m_boxes[std::size_t(row)];
    if (m_meter == nullptr) {
        m_meter = new QProgressBar(box->parentWidget());
        m_meter->setObjectName(QStringLiteral("RecordingLevel"));
        m_meter->setAccessibleName(QStringLiteral("Livello della registrazione"));
        m_meter->setRange(0, 100);
        m_meter->setFormat(QStringLiteral("Registrazione in corso: premere ■ per fermare"));
    }
    m_meter->setGeometry(box->geometry());
    m_meter->setValue(0);
    box->hide();
    m_meter->show();
}

void KeyRows::setLevel(double level) {
    if (m_meter != nullptr) {
        m_meter->setValue(int(level * 100 + 0.5));
    }
}

void KeyRows::waitForThumbnails() {
    if (m_loader) {
        m_loader->waitForDone();
    }
}

void KeyRows::setPictureConverter(std::function<QString(const QString&)> convert) {
    m_convert = std::move(convert);
}

void KeyRows::pictureChanged(int row) {
    const QString path = m_boxes[std::size_t(row)]->text();
    QLabel* thumbnail = m_thumbnails[std::size_t(row)];
    thumbnail->clear();
    thumbnail->setToolTip({});
    if (!path.isEmpty() && FileExists(path)) {
        m_loader->request(row, path);
    } else {
        // Nothing to wait for: an answer still on its way is dropped.
        m_loader->request(row, QString());
    }
}

void KeyRows::showThumbnail(int row, const QImage& thumbnail) {
    QLabel* label = m_thumbnails[std::size_t(row)];
    if (!thumbnail.isNull()) {
        label->setPixmap(QPixmap::fromImage(thumbnail));
        return;
    }
    // An empty or missing path has no thumbnail; a file that is there but does not decode gets "?".
    const QString path = m_boxes[std::size_t(row)]->text();
    if (!path.isEmpty() && FileExists(path)) {
        label->setText(QStringLiteral("?"));
        label->setToolTip(QStringLiteral("Immagine non leggibile"));
    }
}

QStringList KeyRows::acceptedFiles(const QMimeData* mime) const {
    const QStringList& suffixes = m_kind == Kind::Pictures ? PictureSuffixes : SoundSuffixes;
    QStringList files;
    for (const QUrl& url : mime->urls()) {
        const QFileInfo info(url.toLocalFile());
        if (url.isLocalFile() && info.isFile() && suffixes.contains(info.suffix().toLower())) {
            files << info.absoluteFilePath();
        }
    }
    return files;
}

bool KeyRows::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasUrls()) {
        return false; // plain text is typed into the box as usual
    }
    QStringList files = acceptedFiles(drop->mimeData());
    if (files.isEmpty()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type != QEvent::Drop) {
        return true;
    }
    if (m_convert) {
        QStringList converted;
        for (const QString& file : files) {
            const QString path = m_convert(file);
            if (!path.isEmpty()) {
                converted << path;
            }
        }
        files = converted;
    }
    const auto first = std::find(m_boxes.begin(), m_boxes.end(), watched) - m_boxes.begin();
    const int placed = std::min(int(files.size()), Rows - int(first));
    for (int i = 0; i < placed; ++i) {
        m_boxes[std::size_t(first + i)]->setText(files[i]);
    }
    emit filesDropped(placed, int(files.size()) - placed);
    return true;
}
