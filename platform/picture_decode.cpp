#include "platform/picture_decode.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include <sys/mman.h>

namespace kvt {
namespace {

// Card bitmaps run to tens of megabytes. Their rows go into memory mapped
// for the picture alone and marked for huge pages: touching fresh memory
// 4 KB at a time can cost more than the rest of the decoding.
constexpr std::size_t kHugePage = 2u * 1024u * 1024u;
constexpr qint64 kReadBytes = 1 << 20;

struct Mapping {
    void* base;
    std::size_t length;
};

void Unmap(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->base, mapping->length);
    delete mapping;
}

// An image of the given rows, its pixels not yet written.
QImage BlankImage(int width, int height, qsizetype bytes_per_line, QImage::Format format) {
    const auto bytes = static_cast<std::size_t>(bytes_per_line) * static_cast<std::size_t>(height);
    if (bytes < kHugePage) return QImage(width, height, format);
    const std::size_t length = bytes + kHugePage;
    void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return {};
    const auto address = reinterpret_cast<std::uintptr_t>(base);
    auto* rows = reinterpret_cast<uchar*>((address + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1});
    ::madvise(rows, bytes, MADV_HUGEPAGE);  // only advice: without it the pages are small
    return QImage(rows, width, height, bytes_per_line, format, Unmap, new Mapping{base, length});
}

// An uncompressed 24-bit BMP: its rows are the image's rows of Format_BGR888,
// bottom row first unless the height is negative. Anything else is null here.
QImage ReadPlainBmp(std::uint64_t size, const PictureReader& read) {
    constexpr std::size_t kHeadBytes = 14 + 40;
    char head[kHeadBytes];
    if (size < kHeadBytes || !read(0, kHeadBytes, head) || head[0] != 'B' || head[1] != 'M') return {};
    const auto u32 = [&head](int at) { return qFromLittleEndian<quint32>(head + at); };
    const auto u16 = [&head](int at) { return qFromLittleEndian<quint16>(head + at); };
    const auto i32 = [&head](int at) { return qFromLittleEndian<qint32>(head + at); };
    const quint32 pixels_at = u32(10), info_bytes = u32(14);
    const qint32 width = i32(18), stored_height = i32(22);
    if (info_bytes < 40 || info_bytes > 124 || u16(26) != 1 || u16(28) != 24 || u32(30) != 0) return {};
    if (width <= 0 || stored_height == 0 || stored_height == std::numeric_limits<qint32>::min()) return {};
    const bool bottom_up = stored_height > 0;
    const qint64 height = bottom_up ? stored_height : -static_cast<qint64>(stored_height);
    const qint64 stride = (static_cast<qint64>(width) * 24 + 31) / 32 * 4;
    if (height > std::numeric_limits<int>::max() || pixels_at < 14 + info_bytes || pixels_at > size ||
        static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height) > size - pixels_at)
        return {};
    QImage image = BlankImage(width, static_cast<int>(height), stride, QImage::Format_BGR888);
    if (image.isNull() || image.bytesPerLine() != stride) return {};
    // About a megabyte of rows per read: one read per row would cost more in
    // calls than in copying. Stored bottom-up, each run of rows lands where
    // it belongs as a whole and is turned over in place.
    const qint64 run = std::max<qint64>(1, kReadBytes / stride);
    std::vector<char> spare(bottom_up ? static_cast<std::size_t>(stride) : 0);
    for (qint64 first = 0; first < height; first += run) {
        const qint64 rows = std::min(run, height - first);
        const qint64 top = bottom_up ? height - first - rows : first;
        char* place = reinterpret_cast<char*>(image.scanLine(static_cast<int>(top)));
        if (!read(pixels_at + static_cast<std::uint64_t>(first * stride), static_cast<std::size_t>(rows * stride),
                  place))
            return {};
        if (!bottom_up) continue;
        for (qint64 i = 0, j = rows - 1; i < j; ++i, --j) {
            std::memcpy(spare.data(), place + i * stride, static_cast<std::size_t>(stride));
            std::memcpy(place + i * stride, place + j * stride, static_cast<std::size_t>(stride));
            std::memcpy(place + j * stride, spare.data(), static_cast<std::size_t>(stride));
        }
    }
    return image;
}

}  // namespace

QImage DecodePicture(std::uint64_t size, const PictureReader& read) {
    if (QImage plain = ReadPlainBmp(size, read); !plain.isNull()) return plain;
    if (size > static_cast<std::uint64_t>(std::numeric_limits<qsizetype>::max())) return {};
    QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
    if (size != 0 && !read(0, static_cast<std::size_t>(size), data.data())) return {};
    QBuffer buffer(&data);
    // Working files carry their own extensions, so the format is named; a
    // file that is no BMP still gets a chance by its content.
    QImageReader reader(&buffer, "BMP");
    QImage image = reader.read();
    if (image.isNull()) {
        buffer.seek(0);
        QImageReader any(&buffer);
        any.setDecideFormatFromContent(true);
        image = any.read();
    }
    return image;
}

}  // namespace kvt
