#pragma once

#include <string>
#include <string_view>

namespace kvelt {

enum class ByteOrder { LittleEndian, BigEndian };

// Converts UTF-16 bytes (no byte order mark is stripped or expected) to UTF-8. A surrogate
// without its partner becomes U+FFFD; an odd last byte is ignored.
std::string DecodeUtf16(std::string_view bytes, ByteOrder order);

// Converts UTF-8 to UTF-16 bytes; an ill-formed sequence becomes U+FFFD.
std::string EncodeUtf16(std::string_view utf8, ByteOrder order);

}  // namespace kvelt
