#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvelt {

// The encodings a settings file is read in and written back in.
enum class FileEncoding { Utf8, Windows1250, Utf16LittleEndian, Utf16BigEndian };

// A file's bytes as UTF-8 text, with what is needed to write the text back the same way.
struct DecodedFileText {
  FileEncoding Encoding = FileEncoding::Utf8;
  std::string Text;       // UTF-8; a byte order mark of the file stays at its start as U+FEFF
  std::string RawPrefix;  // bytes kept as they are ahead of the text: a UTF-8 mark before Windows-1250 text
  std::string RawSuffix;  // bytes kept as they are after the text: the odd last byte of a UTF-16 file
};

// Chooses the encoding: UTF-16 when the file starts with its byte order mark, UTF-8 when the
// whole file is valid UTF-8 (a new, empty or ASCII file included), else Windows-1250, the
// code page Polish Windows programs write. Windows-1250 bytes the code page leaves undefined
// are kept, so decoding and encoding give the same bytes again.
DecodedFileText DecodeFileText(std::string_view bytes);

// The bytes of text in the encoding of the file it was read from. When text holds a character
// Windows-1250 has no byte for, or its Windows-1250 bytes would read back as UTF-8, the whole
// file becomes UTF-8 instead: one file never mixes encodings, and it reads back as written.
std::string EncodeFileText(const DecodedFileText& original, std::string_view text);

// EncodeFileText of text followed by blank lines, as many as make it at least `size` bytes: the
// same settings, for a file that may only be cut to its length after it has been written.
std::string PaddedFileText(const DecodedFileText& original, std::string_view text, std::size_t size);

}  // namespace kvelt
