# Turns the translation table into a C++ source defining kvelt::EmbeddedTranslationData().
# Run as: cmake -DINPUT=<table file> -DOUTPUT=<generated .cpp> -P EmbedTranslationData.cmake
# The bytes are copied unchanged (CR LF line ends, 0x01 delimiters and bare LFs inside fields included).
if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "EmbedTranslationData.cmake needs -DINPUT=... and -DOUTPUT=...")
endif()

file(READ "${INPUT}" hex HEX)
file(SIZE "${INPUT}" size)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Twenty bytes per line keep the generated file readable (CMake's regular expressions lack {n}).
string(REPEAT "0x[0-9a-f][0-9a-f]," 20 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")

file(WRITE "${OUTPUT}" "// Generated from ${INPUT} by EmbedTranslationData.cmake; do not edit.
#include \"i18n/TranslationTable.h\"

namespace kvelt {

namespace {

const unsigned char kTranslationData[] = {
    ${bytes}0x00};

}  // namespace

std::string_view EmbeddedTranslationData() {
  return std::string_view(reinterpret_cast<const char*>(kTranslationData), ${size});
}

}  // namespace kvelt
")
