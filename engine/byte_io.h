#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

// Reads little-endian fields one by one from a byte buffer; every read checks
// that the bytes are there, so a truncated buffer can never be over-read.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes, std::size_t offset = 0)
        : bytes_(bytes), pos_(offset) {}

    bool ReadI16(std::int16_t& out);
    bool ReadI32(std::int32_t& out);
    bool ReadBytes(std::size_t n, std::string& out);
    bool ReadBytes(std::size_t n, std::string_view& out);

    std::size_t Offset() const { return pos_; }
    std::size_t Remaining() const { return pos_ <= bytes_.size() ? bytes_.size() - pos_ : 0; }

private:
    std::string_view bytes_;
    std::size_t pos_;
};

// Appends little-endian fields to a byte string.
class ByteWriter {
public:
    explicit ByteWriter(std::string& out) : out_(out) {}

    void WriteI16(std::int16_t v);
    void WriteI32(std::int32_t v);
    void WriteBytes(std::string_view bytes) { out_.append(bytes); }

private:
    std::string& out_;
};

}  // namespace kvt
