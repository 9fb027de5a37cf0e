#include "symbols/SymbolPicture.h"

#include "platform/RegularFile.h"
#include "symbols/SymbolText.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <algorithm>
#include <functional>

namespace {
constexpr int MinSide = 256;
constexpr int MaxSide = 2048;
// The grid's spacing and its one-pixel edge (TableShape's cells of a one-key table).
constexpr int TableMargin = 11;
constexpr qint64 MaxFileBytes = 64LL * 1024 * 1024;
// Longer words make file names no family could read anyway.
constexpr int MaxNameLength = 40;

bool LooksLikeSvg(const QByteArray& bytes) {
    const QByteArray head = bytes.left(1024).trimmed().toLower();
    return head.startsWith("<svg") ||
           ((head.startsWith("<?xml") || head.startsWith("<!--")) && head.contains("<svg"));
}

QImage RenderSvg(const QByteArray& bytes, int side) {
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid()) {
        return {};
    }
    QSizeF size = renderer.defaultSize().isEmpty() ? QSizeF(side, side) : QSizeF(renderer.defaultSize());
    size.scale(side, side, Qt::KeepAspectRatio);
    QImage image(size.toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    return image;
}

QImage DecodeRaster(const QByteArray& bytes, int side) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A phone photo is turned the way it was taken, and decoded at the size
    // it is needed: at full size it may pass Qt's allocation limit.
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > side || size.height() > side)) {
        reader.setScaledSize(size.scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    return reader.read();
}

// Lower-case ASCII letters and digits joined by '-': a name every system and
// the layouts' code page can hold.
QString AsciiWords(const QString& text) {
    QStringList kept;
    for (const QString& word : SymbolText::Words(text)) {
        QString ascii;
        for (const QChar c : word) {
            if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                (c >= QLatin1Char('0') && c <= QLatin1Char('9'))) {
                ascii += c;
            }
        }
        if (!ascii.isEmpty()) {
            kept << ascii;
        }
    }
    return kept.join(QLatin1Char('-')).left(MaxNameLength);
}

QString ShortHash(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().left(10));
}

// Writes the picture once: `tag` names the symbol, and a file already
// starting with it is the one written before, whatever words follow.
SymbolPicture::Placed WriteOnce(const QString& folder, const QString& tag, const QString& words,
                                const std::function<QImage()>& draw) {
    const QDir dir(folder);
    const QStringList existing = dir.entryList({tag + QStringLiteral("_*.bmp")}, QDir::Files);
    if (!existing.isEmpty()) {
        return {dir.filePath(existing.first()), {}};
    }
    const QString path = dir.filePath(tag + QLatin1Char('_') + words + QStringLiteral(".bmp"));
    const QImage image = draw();
    if (image.isNull()) {
        return {{}, QStringLiteral("L'immagine scelta non è leggibile.")};
    }
    QSaveFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) || !image.save(&file, "BMP") ||
        !file.commit()) {
        return {{}, QStringLiteral("Impossibile scrivere il file «%1».").arg(QDir::toNativeSeparators(path))};
    }
    return {path, {}};
}
} // namespace

namespace SymbolPicture {

int SideFor(QSize screen) {
    return std::clamp(std::min(screen.width(), screen.height()) - TableMargin, MinSide, MaxSide);
}

QImage Read(const QString& file, int side) {
    const std::optional<QByteArray> bytes = ReadFileOrResource(file, MaxFileBytes);
    if (!bytes || side <= 0) {
        return {};
    }
    return LooksLikeSvg(*bytes) ? RenderSvg(*bytes, side) : DecodeRaster(*bytes, side);
}

QImage OnWhiteSquare(const QImage& picture, int side) {
    QImage square(side, side, QImage::Format_RGB32);
    square.fill(Qt::white);
    if (picture.isNull()) {
        return square;
    }
    const QImage scaled = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&square);
    painter.drawImage((side - scaled.width()) / 2, (side - scaled.height()) / 2, scaled);
    return square;
}

QImage WordPicture(const QString& word, int side) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    const int margin = side / 16;
    const QRect area = image.rect().adjusted(margin, margin, -margin, -margin);
    // The largest size at which the whole word fits, long phrases wrapped.
    for (int pixels = side * 3 / 8; pixels >= 8; pixels -= std::max(1, pixels / 16)) {
        font.setPixelSize(pixels);
        const QRect needed = QFontMetrics(font).boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, word);
        if (area.contains(needed)) {
            break;
        }
    }
    painter.setFont(font);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, word);
    return image;
}

bool TableDraws(const QString& file) {
    const std::optional<QByteArray> bytes = ReadRegularFile(file, MaxFileBytes, 8);
    if (!bytes) {
        return false;
    }
    return bytes->startsWith("GIF87a") || bytes->startsWith("GIF89a") || bytes->startsWith("BM") ||
           bytes->startsWith("\xFF\xD8\xFF");
}

Placed Place(const Symbol& symbol, const QString& folder, int side) {
    // A family's GIF, BMP or JPEG is used where it is, once it is known to decode.
    if (symbol.origin == Symbol::Origin::Folder && TableDraws(symbol.file)) {
        if (Read(symbol.file, MinSide).isNull()) {
            return {{}, QStringLiteral("L'immagine scelta non è leggibile.")};
        }
        return {symbol.file, {}};
    }
    const QString tag = symbol.origin == Symbol::Origin::Library
                            ? symbol.key
                            : QStringLiteral("file-") + ShortHash(symbol.key);
    const QString file = symbol.file;
    return WriteOnce(folder, tag, AsciiWords(symbol.label), [file, side] {
        const QImage picture = Read(file, side);
        return picture.isNull() ? QImage() : OnWhiteSquare(picture, side);
    });
}

Placed PlaceWord(const QString& word, const QString& folder, int side) {
    const QString text = word.simplified();
    if (text.isEmpty()) {
        return WriteOnce(folder, QStringLiteral("vuoto"), QStringLiteral("bianco"),
                         [side] { return WordPicture(QString(), side); });
    }
    return WriteOnce(folder, QStringLiteral("parola-") + ShortHash(SymbolText::Fold(text)), AsciiWords(text),
                     [text, side] { return WordPicture(text, side); });
}

} // namespace SymbolPicture
