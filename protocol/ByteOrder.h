#pragma once

#include <bit>
#include <cstdint>

namespace kvelt {

// Little-endian access to wire bytes, one byte at a time: works on any buffer alignment and on
// any host byte order. Reals are IEEE 754 singles carried bit for bit.

inline std::uint16_t LoadU16Le(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t LoadU32Le(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline float LoadF32Le(const std::uint8_t* p) { return std::bit_cast<float>(LoadU32Le(p)); }

inline void StoreU16Le(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void StoreU32Le(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

inline void StoreF32Le(std::uint8_t* p, float v) { StoreU32Le(p, std::bit_cast<std::uint32_t>(v)); }

static_assert(sizeof(float) == 4, "reals on the wire are 32-bit singles");

}  // namespace kvelt
