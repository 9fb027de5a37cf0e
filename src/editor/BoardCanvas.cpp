#include "editor/BoardCanvas.h"

#include "config/FileExists.h"
#include "editor/LayoutEditor.h"
#include "grid/TableShape.h"
#include "grid/cGriglia.h"
#include "pictures/KeyPictures.h"
#include "pictures/PictureFile.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
using Field = LayoutEditor::Field;
constexpr GdiColor SelectedColor = 0xFF0000; // blue, as the table frames a chosen key
constexpr int SelectedPen = 5;
const QColor MarkRed(0xd0, 0, 0);
const QColor LinkBlue(0x1f, 0x4f, 0xb0);
} // namespace

BoardCanvas::BoardCanvas(const LayoutEditor& board, bool keepProportions, QWidget* parent)
    : QWidget(parent), m_board(board), m_keepProportions(keepProportions) {
    setObjectName(QStringLiteral("BoardCanvas"));
    setAccessibleName(QStringLiteral("Tabella"));
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setMinimumSize(320, 240);
}

BoardCanvas::~BoardCanvas() = default;

QPoint BoardCanvas::cursorPos() const {
    return mapFromGlobal(QCursor::pos());
}

void BoardCanvas::showCanvas(const QRect& changed) {
    changed.isEmpty() ? update() : update(changed);
}

void BoardCanvas::select(int key) {
    key = std::clamp(key, 1, std::max(m_keys, 1));
    if (key != m_selected) {
        m_selected = key;
        refresh();
        emit selectionChanged(key);
    }
    describe();
}

void BoardCanvas::refresh() {
    // Drawn once shown, at its own size: a picture is not decoded for a size it never has.
    if (!isVisible()) {
        return;
    }
    if (m_canvas.size() != size()) {
        m_canvas = QImage(size(), QImage::Format_RGB32);
    }
    const std::optional<TableShape> shape = TableShapeFor(m_board.keyCount());
    m_keys = shape ? shape->keys : 0;
    m_selected = std::clamp(m_selected, 1, std::max(m_keys, 1));
    if (!shape) {
        m_grid.reset();
        m_canvas.fill(Qt::white);
        QPainter p(&m_canvas);
        p.setPen(MarkRed);
        p.drawText(
            m_canvas.rect(), Qt::AlignCenter | Qt::TextWordWrap,
            QStringLiteral("%1 tasti non sono ammessi. Numeri di tasti ammessi: ").arg(m_board.keyCount()) +
                AllowedKeyCountsText());
        update();
        describe();
        return;
    }
    m_grid = std::make_unique<cGriglia>();
    m_grid->Init(*this, shape->rows, shape->columns, KeySpacing, KeySpacing);
    m_grid->Refresh();
    const int side = KeyPictureSide(*m_grid);
    if (side != m_pictureSide) {
        m_pictures.clear();
        m_pictureSide = side;
    }
    // Pictures not seen before are decoded together, as the table decodes them.
    QStringList fresh;
    for (int k = 1; k <= m_keys; ++k) {
        const QString path = m_board.value(Field::Picture, k);
        if (!path.isEmpty() && !m_pictures.contains(path) && !fresh.contains(path)) {
            fresh << path;
        }
    }
    const QList<QImage> decoded = LoadPictureFiles(fresh, QSize(side, side));
    for (qsizetype i = 0; i < fresh.size(); ++i) {
        m_pictures.insert(fresh[i], decoded.value(i));
    }
    QList<QImage> pictures{QImage()};
    for (int k = 1; k <= m_keys; ++k) {
        pictures << m_pictures.value(m_board.value(Field::Picture, k));
    }
    DrawKeyPictureImages(m_canvas, *m_grid, pictures, m_keepProportions);
    for (int k = 1; k <= m_keys; ++k) {
        drawMarks(k, cellOf(k));
    }
    const QRect chosen = cellOf(m_selected);
    cGriglia::DrawBox(*this, GridRect{chosen.left(), chosen.top(), chosen.right() + 1, chosen.bottom() + 1},
                      SelectedPen, SelectedColor);
    update();
    describe();
}

QRect BoardCanvas::cellOf(int key) const {
    if (!m_grid || key < 1 || key > m_keys) {
        return {};
    }
    const int columns = m_grid->LastCol() + 1;
    const GridRect r = m_grid->CellRect((key - 1) / columns, (key - 1) % columns);
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
}

int BoardCanvas::keyAt(QPoint point) const {
    for (int k = 1; k <= m_keys; ++k) {
        if (cellOf(k).contains(point)) {
            return k;
        }
    }
    return 0;
}

// Words under the picture; top left the steps of the forced input and what
// is missing; top right the link.
void BoardCanvas::drawMarks(int key, const QRect& cell) {
    QPainter p(&m_canvas);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(std::clamp(cell.height() / 11, 11, 26));
    p.setFont(font);
    const QFontMetrics metrics(font);
    const QString words = m_board.value(Field::Text, key);
    if (!words.isEmpty()) {
        const QRect band(cell.left(), cell.bottom() - metrics.height() - 3, cell.width(),
                         metrics.height() + 4);
        p.fillRect(band, QColor(255, 255, 255, 220));
        p.setPen(Qt::black);
        p.drawText(band, Qt::AlignCenter, metrics.elidedText(words, Qt::ElideRight, band.width() - 4));
    }
    QStringList notes;
    QStringList steps;
    const QStringList& sequence = m_board.sequence();
    for (int i = 0; m_board.forcedInput() && i < sequence.size(); ++i) {
        if (sequence[i] == QString::number(key)) {
            steps << QString::number(i + 1);
        }
    }
    const QString picturePath = m_board.value(Field::Picture, key);
    if (picturePath.isEmpty()) {
        notes << QStringLiteral("✖ manca l'immagine");
    } else if (!FileExists(picturePath)) {
        notes << QStringLiteral("✖ immagine non trovata");
    }
    const QString sound = m_board.value(Field::Sound, key);
    if (sound.isEmpty() ? m_board.section(2) : !FileExists(sound)) {
        notes << (sound.isEmpty() ? QStringLiteral("✖ manca il suono")
                                  : QStringLiteral("✖ suono non trovato"));
    }
    int top = cell.top() + 4;
    if (!steps.isEmpty()) {
        const QString text = steps.join(QLatin1Char(','));
        const QRect badge(cell.left() + 4, top,
                          std::max(metrics.horizontalAdvance(text) + 10, metrics.height() + 4),
                          metrics.height() + 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x10, 0x70, 0x30));
        p.drawRoundedRect(badge, badge.height() / 2.0, badge.height() / 2.0);
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, text);
        top = badge.bottom() + 3;
    }
    for (const QString& note : notes) {
        const QRect line(cell.left() + 4, top, metrics.horizontalAdvance(note) + 8, metrics.height() + 2);
        p.fillRect(line, QColor(255, 255, 255, 230));
        p.setPen(MarkRed);
        p.drawText(line, Qt::AlignCenter, note);
        top = line.bottom() + 2;
    }
    const QString link = m_board.value(Field::Link, key);
    if (!link.isEmpty()) {
        const LayoutEditor::LinkKind kind = LayoutEditor::KindOf(link);
        const bool missing = kind == LayoutEditor::LinkKind::Layout && !FileExists(link);
        const int size = std::clamp(cell.height() / 5, 22, 60);
        QPainterPath tab;
        tab.moveTo(cell.right() - size, cell.top());
        tab.lineTo(cell.right(), cell.top());
        tab.lineTo(cell.right(), cell.top() + size);
        tab.closeSubpath();
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(missing ? MarkRed : LinkBlue);
        p.drawPath(tab);
        p.setPen(Qt::white);
        const QString sign = kind == LayoutEditor::LinkKind::Back   ? QStringLiteral("↩")
                             : kind == LayoutEditor::LinkKind::Home ? QStringLiteral("⌂")
                                                                    : QStringLiteral("↗");
        p.drawText(QRect(cell.right() - size / 2 - 2, cell.top() + 1, size / 2, size / 2), Qt::AlignCenter,
                   sign);
    }
}

// A screen reader hears the selected key with what it holds.
void BoardCanvas::describe() {
    if (m_keys == 0) {
        setAccessibleDescription(QString());
        return;
    }
    const QString words = m_board.value(Field::Text, m_selected);
    const QString link = m_board.value(Field::Link, m_selected);
    QString text = QStringLiteral("Tasto %1 di %2").arg(m_selected).arg(m_keys);
    text += words.isEmpty() ? QStringLiteral(", senza parole") : QStringLiteral(": %1").arg(words);
    if (!link.isEmpty()) {
        text += QStringLiteral(", apre %1")
                    .arg(LayoutEditor::KindOf(link) == LayoutEditor::LinkKind::Layout
                             ? QFileInfo(link).completeBaseName()
                             : link);
    }
    setAccessibleDescription(text);
}

void BoardCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect(), m_canvas, event->rect());
}

void BoardCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refresh();
}

void BoardCanvas::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void BoardCanvas::keyPressEvent(QKeyEvent* event) {
    if (!m_grid) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int columns = m_grid->LastCol() + 1;
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
        step = -columns;
        break;
    case Qt::Key_Down:
        step = columns;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_F2:
        emit keyActivated(m_selected);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const int target = m_selected + step;
    if (target < 1 || target > m_keys) {
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        emit swapAsked(m_selected, target);
    }
    select(target);
}

void BoardCanvas::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton ? keyAt(event->position().toPoint()) : 0;
    setFocus();
}

// Released on the key it was pressed on: that key opens; on another: the two swap.
void BoardCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const int from = m_pressed;
    m_pressed = 0;
    const int to = keyAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || from == 0 || to == 0) {
        return;
    }
    if (from != to) {
        emit swapAsked(from, to);
        select(to);
        return;
    }
    select(to);
    emit keyActivated(to);
}

void BoardCanvas::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void BoardCanvas::dropEvent(QDropEvent* event) {
    const int key = keyAt(event->position().toPoint());
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            files << url.toLocalFile();
        }
    }
    if (key == 0 || files.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    select(key);
    emit picturesDropped(key, files);
}
