#pragma once

#include <QImage>
#include <cstdint>
#include <functional>

namespace kvt {

// Reads n bytes at an offset of a picture's bytes; false when they are not all there.
using PictureReader = std::function<bool(std::uint64_t offset, std::size_t n, char* out)>;

// A picture of `size` bytes read through `read`: a BMP whatever its name,
// else any format Qt knows by its content; a null image when it cannot be
// decoded. An uncompressed 24-bit BMP, the card bitmaps' usual form, is read
// straight into the rows of the image, with no copy of the file in memory.
QImage DecodePicture(std::uint64_t size, const PictureReader& read);

}  // namespace kvt
