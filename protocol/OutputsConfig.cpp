#include "protocol/OutputsConfig.h"

#include "protocol/ByteOrder.h"

namespace kvelt {

namespace {

// Offsets inside one 6-byte entry.
constexpr std::size_t kFirstEnable = 0;
constexpr std::size_t kFirstSelector = 1;
constexpr std::size_t kFirstThreshold = 2;

constexpr std::size_t kSecondSelector = 0;
constexpr std::size_t kSecondThreshold = 1;
constexpr std::size_t kSecondState = 5;

}  // namespace

std::array<std::uint8_t, kOutputsHalfSize> EncodeOutputsFirstHalf(const OutputsFirstHalf& half) {
  std::array<std::uint8_t, kOutputsHalfSize> bytes{};
  for (std::size_t k = 0; k < kOutputCount; ++k) {
    std::uint8_t* entry = bytes.data() + k * kOutputEntrySize;
    entry[kFirstEnable] = half.Entries[k].Enable;
    entry[kFirstSelector] = half.Entries[k].Selector;
    StoreF32Le(entry + kFirstThreshold, half.Entries[k].Threshold);
  }
  return bytes;
}

OutputsFirstHalf DecodeOutputsFirstHalf(const std::uint8_t* bytes30) {
  OutputsFirstHalf half;
  for (std::size_t k = 0; k < kOutputCount; ++k) {
    const std::uint8_t* entry = bytes30 + k * kOutputEntrySize;
    half.Entries[k].Enable = entry[kFirstEnable];
    half.Entries[k].Selector = entry[kFirstSelector];
    half.Entries[k].Threshold = LoadF32Le(entry + kFirstThreshold);
  }
  return half;
}

std::array<std::uint8_t, kOutputsHalfSize> EncodeOutputsSecondHalf(const OutputsSecondHalf& half) {
  std::array<std::uint8_t, kOutputsHalfSize> bytes{};
  for (std::size_t k = 0; k < kOutputCount; ++k) {
    std::uint8_t* entry = bytes.data() + k * kOutputEntrySize;
    entry[kSecondSelector] = half.Entries[k].Selector;
    StoreF32Le(entry + kSecondThreshold, half.Entries[k].SecondThreshold);
    entry[kSecondState] = half.Entries[k].State;
  }
  return bytes;
}

OutputsSecondHalf DecodeOutputsSecondHalf(const std::uint8_t* bytes30) {
  OutputsSecondHalf half;
  for (std::size_t k = 0; k < kOutputCount; ++k) {
    const std::uint8_t* entry = bytes30 + k * kOutputEntrySize;
    half.Entries[k].Selector = entry[kSecondSelector];
    half.Entries[k].SecondThreshold = LoadF32Le(entry + kSecondThreshold);
    half.Entries[k].State = entry[kSecondState];
  }
  return half;
}

}  // namespace kvelt
