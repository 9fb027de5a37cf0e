#include "obf/ObfMedia.h"

#include "audio/WavWriter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <QUrl>

#include <sndfile.h>

#include <cstring>
#include <vector>

namespace {
constexpr int SvgSize = 256;
constexpr int LabelSize = 256;
constexpr int PngQuality = 80;
// Larger pictures are refused rather than decoded into hundreds of megabytes.
constexpr int MaxPictureSide = 8192;
// Ten minutes of stereo at 48 kHz: more is no key's sound.
constexpr sf_count_t MaxSamples = 10LL * 60 * 48000 * 2;

bool LooksLikeSvg(const QByteArray& bytes, const QString& contentType) {
    if (contentType.contains(QLatin1String("svg"))) {
        return true;
    }
    const QByteArray head = bytes.left(512).trimmed().toLower();
    return head.startsWith("<svg") || (head.startsWith("<?xml") && head.contains("<svg"));
}

QImage OnWhite(const QImage& image) {
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    return out;
}

struct MemoryFile {
    const QByteArray* bytes;
    sf_count_t position = 0;
};

sf_count_t Length(void* user) {
    return static_cast<MemoryFile*>(user)->bytes->size();
}

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_CUR   ? file->position
                            : whence == SEEK_END ? file->bytes->size()
                                                 : 0;
    const sf_count_t target = base + offset;
    if (target < 0 || target > file->bytes->size()) {
        return -1;
    }
    file->position = target;
    return target;
}

sf_count_t Read(void* out, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t n = std::min(count, sf_count_t(file->bytes->size()) - file->position);
    if (n <= 0) {
        return 0;
    }
    std::memcpy(out, file->bytes->constData() + file->position, std::size_t(n));
    file->position += n;
    return n;
}

sf_count_t Write(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t Tell(void* user) {
    return static_cast<MemoryFile*>(user)->position;
}
} // namespace

QByteArray EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // zlib's fast levels: pictures of flat colours shrink almost as much, in a fraction of the time.
    writer.setQuality(PngQuality);
    writer.write(image.hasAlphaChannel() ? OnWhite(image) : image);
    return bytes;
}

std::optional<ConvertedFile> ConvertPicture(const QByteArray& bytes, const QString& contentType) {
    if (LooksLikeSvg(bytes, contentType)) {
        QSvgRenderer renderer(bytes);
        if (!renderer.isValid()) {
            return std::nullopt;
        }
        QImage image(SvgSize, SvgSize, QImage::Format_RGB32);
        image.fill(Qt::white);
        QSizeF size =
            renderer.defaultSize().isEmpty() ? QSizeF(SvgSize, SvgSize) : QSizeF(renderer.defaultSize());
        size.scale(SvgSize, SvgSize, Qt::KeepAspectRatio);
        QPainter painter(&image);
        renderer.render(&painter,
                        QRectF(QPointF((SvgSize - size.width()) / 2, (SvgSize - size.height()) / 2), size));
        painter.end();
        return ConvertedFile{EncodePng(image), QStringLiteral("png")};
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    const QSize size = reader.size();
    if (format.isEmpty() || size.width() > MaxPictureSide || size.height() > MaxPictureSide) {
        return std::nullopt;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    if (format == "jpeg" || format == "gif") {
        return ConvertedFile{bytes, format == "jpeg" ? QStringLiteral("jpg") : QStringLiteral("gif")};
    }
    // An opaque PNG is drawn as it is; one with transparency needs its white ground.
    if (format == "png" && !image.hasAlphaChannel()) {
        return ConvertedFile{bytes, QStringLiteral("png")};
    }
    return ConvertedFile{EncodePng(image), QStringLiteral("png")};
}

QImage LabelPicture(const QString& label) {
    // Grey levels only: black letters with smooth edges on white, a third of the bytes of colour.
    QImage image(LabelSize, LabelSize, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    const QRect area = image.rect().adjusted(12, 12, -12, -12);
    // The largest size at which the whole label fits, words wrapped.
    for (int pixels = 96; pixels >= 12; pixels -= 4) {
        font.setPixelSize(pixels);
        const QRect needed = QFontMetrics(font).boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, label);
        if (area.contains(needed)) {
            break;
        }
    }
    painter.setFont(font);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, label);
    return image;
}

std::optional<QByteArray> ConvertSound(const QByteArray& bytes) {
    MemoryFile file{&bytes};
    SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
    SF_INFO info{};
    SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (sound == nullptr) {
        return std::nullopt;
    }
    std::vector<qint16> samples;
    const bool sane =
        info.channels >= 1 && info.channels <= 8 && info.samplerate >= 1000 && info.samplerate <= 384000;
    if (sane) {
        std::vector<short> piece(std::size_t(4096 * info.channels));
        while (true) {
            const sf_count_t frames = sf_readf_short(sound, piece.data(), 4096);
            if (frames <= 0) {
                break;
            }
            samples.insert(samples.end(), piece.begin(), piece.begin() + frames * info.channels);
            if (sf_count_t(samples.size()) > MaxSamples) {
                break;
            }
        }
    }
    const bool failed = sf_error(sound) != SF_ERR_NO_ERROR;
    sf_close(sound);
    if (!sane || failed || samples.empty() || sf_count_t(samples.size()) > MaxSamples) {
        return std::nullopt;
    }
    return EncodeWav16(samples, info.channels, info.samplerate);
}

std::optional<QByteArray> DecodeDataUri(const QString& uri, QString* contentType) {
    const qsizetype comma = uri.indexOf(QLatin1Char(','));
    if (!uri.startsWith(QLatin1String("data:"), Qt::CaseInsensitive) || comma < 0) {
        return std::nullopt;
    }
    const QString header = uri.mid(5, comma - 5);
    const QStringList parts = header.split(QLatin1Char(';'));
    if (contentType != nullptr) {
        *contentType = parts.first().trimmed().toLower();
    }
    const QByteArray payload = uri.mid(comma + 1).toLatin1();
    if (!parts.contains(QLatin1String("base64"), Qt::CaseInsensitive)) {
        return QByteArray::fromPercentEncoding(payload);
    }
    const auto decoded = QByteArray::fromBase64Encoding(
        QByteArray(payload).replace('\n', "").replace(' ', ""), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        return std::nullopt;
    }
    return decoded.decoded;
}

void Convert(MediaJob& job) {
    switch (job.kind) {
    case MediaJob::Kind::Picture:
        job.result = ConvertPicture(job.bytes, job.type);
        break;
    case MediaJob::Kind::Sound:
        if (std::optional<QByteArray> wav = ConvertSound(job.bytes)) {
            job.result = ConvertedFile{std::move(*wav), QStringLiteral("wav")};
        }
        break;
    case MediaJob::Kind::Label:
        job.result = ConvertedFile{EncodePng(LabelPicture(job.label)), QStringLiteral("png")};
        break;
    }
    job.bytes.clear();
}
