#include "GifWriter.h"

#include <QList>

#include <cstdint>
#include <unordered_map>

namespace {
constexpr int MinCodeSize = 8;
constexpr int ClearCode = 1 << MinCodeSize;
constexpr int EndCode = ClearCode + 1;
constexpr int MaxCode = 4096;

void PutLe16(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Codes go out least significant bit first, packed into sub-blocks of at
// most 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(QByteArray& out) : m_out(out) {}

    void Put(int code, int size) {
        m_bits |= std::uint32_t(code) << m_count;
        m_count += size;
        while (m_count >= 8) {
            PutByte(char(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }

    void Finish() {
        if (m_count > 0) {
            PutByte(char(m_bits & 0xFF));
        }
        FlushBlock();
        m_out.append('\0');
    }

private:
    void PutByte(char byte) {
        m_block.append(byte);
        if (m_block.size() == 255) {
            FlushBlock();
        }
    }

    void FlushBlock() {
        if (m_block.isEmpty()) {
            return;
        }
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }

    QByteArray& m_out;
    QByteArray m_block;
    std::uint32_t m_bits = 0;
    int m_count = 0;
};

void EncodePixels(const QImage& indexed, QByteArray& out) {
    CodeWriter writer(out);
    std::unordered_map<std::uint32_t, int> dictionary;
    int codeSize = MinCodeSize + 1;
    int next = EndCode + 1;
    writer.Put(ClearCode, codeSize);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int pixel = line[x];
            if (prefix < 0) {
                prefix = pixel;
                continue;
            }
            const std::uint32_t key = (std::uint32_t(prefix) << 8) | std::uint32_t(pixel);
            if (const auto found = dictionary.find(key); found != dictionary.end()) {
                prefix = found->second;
                continue;
            }
            writer.Put(prefix, codeSize);
            dictionary.emplace(key, next++);
            // The decoder adds its entries one code later, so it widens its
            // codes when the table holds one more entry than the width allows.
            if (next > (1 << codeSize) && codeSize < 12) {
                ++codeSize;
            }
            if (next == MaxCode) {
                writer.Put(ClearCode, codeSize);
                dictionary.clear();
                codeSize = MinCodeSize + 1;
                next = EndCode + 1;
            }
            prefix = pixel;
        }
    }
    if (prefix >= 0) {
        writer.Put(prefix, codeSize);
    }
    writer.Put(EndCode, codeSize);
    writer.Finish();
}
} // namespace

QByteArray EncodeGif(const QImage& image) {
    const QImage indexed =
        image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    QList<QRgb> palette = indexed.colorTable();
    palette.resize(256, qRgb(0, 0, 0));

    QByteArray out("GIF89a");
    PutLe16(out, indexed.width());
    PutLe16(out, indexed.height());
    out.append(char(0xF7)); // global colour table of 256 entries, 8 bits per primary
    out.append('\0');       // background colour index
    out.append('\0');       // square pixels
    for (const QRgb rgb : palette) {
        out.append(char(qRed(rgb)));
        out.append(char(qGreen(rgb)));
        out.append(char(qBlue(rgb)));
    }
    out.append(char(0x2C));
    PutLe16(out, 0);
    PutLe16(out, 0);
    PutLe16(out, indexed.width());
    PutLe16(out, indexed.height());
    out.append('\0'); // no local colour table, not interlaced
    out.append(char(MinCodeSize));
    EncodePixels(indexed, out);
    out.append(char(0x3B));
    return out;
}
