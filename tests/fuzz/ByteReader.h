#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

namespace qv::fuzz {

// Reads a fuzz input front to back, so hand-written seed inputs stay easy to write: integers
// are little-endian, and a read past the end gives zeros.
class ByteReader {
  public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t remaining() const { return size_ - position_; }

    template <typename T>
    T Read() {
        static_assert(std::is_trivially_copyable_v<T>);
        unsigned char bytes[sizeof(T)] = {};
        for (std::size_t i = 0; i < sizeof(T) && position_ < size_; ++i) {
            bytes[i] = data_[position_++];
        }
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    std::uint8_t Byte() { return Read<std::uint8_t>(); }
    bool Bool() { return (Byte() & 1) != 0; }

    // A value in [low, high], from as few bytes as the range needs.
    template <typename T>
    T InRange(T low, T high) {
        const auto span = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
        std::uint64_t raw = 0;
        if (span <= std::numeric_limits<std::uint8_t>::max()) {
            raw = Byte();
        } else if (span <= std::numeric_limits<std::uint16_t>::max()) {
            raw = Read<std::uint16_t>();
        } else {
            raw = Read<std::uint32_t>();
        }
        return static_cast<T>(
            static_cast<std::uint64_t>(low) +
            (span == std::numeric_limits<std::uint64_t>::max() ? raw : raw % (span + 1)));
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace qv::fuzz
