#include "settings/FileTextEncoding.h"

#include <optional>

#include "text/TextEncoding.h"
#include "text/Utf16Text.h"

namespace kvelt {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

DecodedFileText DecodeUtf16File(std::string_view bytes, FileEncoding encoding, ByteOrder order) {
  DecodedFileText decoded;
  decoded.Encoding = encoding;
  decoded.Text = DecodeUtf16(bytes, order);
  if (bytes.size() % 2 != 0) decoded.RawSuffix = std::string(bytes.substr(bytes.size() - 1));
  return decoded;
}

}  // namespace

DecodedFileText DecodeFileText(std::string_view bytes) {
  if (StartsWith(bytes, kUtf16LittleEndianMark)) {
    return DecodeUtf16File(bytes, FileEncoding::Utf16LittleEndian, ByteOrder::LittleEndian);
  }
  if (StartsWith(bytes, kUtf16BigEndianMark)) {
    return DecodeUtf16File(bytes, FileEncoding::Utf16BigEndian, ByteOrder::BigEndian);
  }
  if (IsValidUtf8(bytes)) return {FileEncoding::Utf8, std::string(bytes), {}, {}};
  DecodedFileText decoded;
  decoded.Encoding = FileEncoding::Windows1250;
  if (StartsWith(bytes, kUtf8Mark)) {
    decoded.RawPrefix = std::string(kUtf8Mark);
    bytes.remove_prefix(kUtf8Mark.size());
  }
  decoded.Text = DecodeWindows1250(bytes, UndefinedByte::KeepAsControl);
  return decoded;
}

std::string EncodeFileText(const DecodedFileText& original, std::string_view text) {
  switch (original.Encoding) {
    case FileEncoding::Utf16LittleEndian:
      return EncodeUtf16(text, ByteOrder::LittleEndian) + original.RawSuffix;
    case FileEncoding::Utf16BigEndian:
      return EncodeUtf16(text, ByteOrder::BigEndian) + original.RawSuffix;
    case FileEncoding::Windows1250: {
      // Windows-1250 bytes that happen to form valid UTF-8 (once the line that made the file
      // invalid UTF-8 has changed) would be read back as UTF-8 with other letters: then, as
      // for a character the code page lacks, the whole file becomes UTF-8.
      const std::optional<std::string> bytes = EncodeWindows1250(text);
      if (bytes && (*bytes == text || !IsValidUtf8(original.RawPrefix + *bytes)))
        return original.RawPrefix + *bytes;
      return original.RawPrefix + std::string(text);
    }
    case FileEncoding::Utf8:
      break;
  }
  return std::string(text);
}

std::string PaddedFileText(const DecodedFileText& original, std::string_view text, std::size_t size) {
  std::string padded(text);
  std::string bytes = EncodeFileText(original, padded);
  // Every line break adds at least one byte, so as many as bytes are missing always suffice.
  if (bytes.size() < size) {
    padded.append(size - bytes.size(), '\n');
    bytes = EncodeFileText(original, padded);
  }
  return bytes;
}

}  // namespace kvelt
