#include "engine/byte_io.h"

namespace kvt {

bool ByteReader::ReadI16(std::int16_t& out) {
    if (Remaining() < 2) return false;
    const auto b0 = static_cast<std::uint8_t>(bytes_[pos_]);
    const auto b1 = static_cast<std::uint8_t>(bytes_[pos_ + 1]);
    out = static_cast<std::int16_t>(static_cast<std::uint16_t>(b0 | (b1 << 8)));
    pos_ += 2;
    return true;
}

bool ByteReader::ReadI32(std::int32_t& out) {
    if (Remaining() < 4) return false;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes_[pos_ + i]);
    out = static_cast<std::int32_t>(v);
    pos_ += 4;
    return true;
}

bool ByteReader::ReadBytes(std::size_t n, std::string_view& out) {
    if (Remaining() < n) return false;
    out = bytes_.substr(pos_, n);
    pos_ += n;
    return true;
}

bool ByteReader::ReadBytes(std::size_t n, std::string& out) {
    std::string_view view;
    if (!ReadBytes(n, view)) return false;
    out.assign(view);
    return true;
}

void ByteWriter::WriteI16(std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    out_.push_back(static_cast<char>(u & 0xFF));
    out_.push_back(static_cast<char>(u >> 8));
}

void ByteWriter::WriteI32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

}  // namespace kvt
