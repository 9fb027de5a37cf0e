#include "runtime/LargeImage.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {
constexpr std::size_t HugePage = std::size_t(2) << 20;
} // namespace

QImage LargeImage(QSize size, QImage::Format format) {
    const int bits = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || bits <= 0) {
        return QImage(size, format);
    }
    // QImage's own rule: rows padded to 32 bits.
    const std::size_t bytesPerLine = ((std::size_t(size.width()) * std::size_t(bits) + 31) / 32) * 4;
    const std::size_t bytes = bytesPerLine * std::size_t(size.height());
    if (bytes < HugePage) {
        return QImage(size, format);
    }
    const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    void* memory = std::aligned_alloc(HugePage, rounded);
    if (memory == nullptr) {
        return QImage(size, format);
    }
    // Only advice: where the kernel offers no huge pages nothing changes.
    madvise(memory, rounded, MADV_HUGEPAGE);
    return QImage(
        static_cast<uchar*>(memory), size.width(), size.height(), qsizetype(bytesPerLine), format,
        [](void* pixels) { std::free(pixels); }, memory);
}
