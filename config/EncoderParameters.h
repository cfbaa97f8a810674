#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/OutboundReport.h"
#include "protocol/ReplyParsers.h"

namespace kvelt {

// Requests and reply texts of the per-channel encoder settings: resolution, coefficient, zero
// marker. `channel` is 0..3 (channels 1..4), as ChannelFromSenderName gives it.

inline constexpr long long kMaxResolution = 65535;

// The typed resolution, a decimal integer 0..65535, as code 104 (sent x4). nullopt: refused, the
// box gets the refused colour and nothing is sent.
std::optional<OutboundReport> SetResolutionRequest(int channel, std::string_view text);

// The typed coefficient, a real in the locale's notation, as a single in code 105. No range check
// beyond what a single holds. nullopt: refused.
std::optional<OutboundReport> SetCoefficientRequest(int channel, std::string_view text,
                                                    std::string_view decimalSeparator);

// Code 116 with the position of the channel's zero-marker list (0 = "Nie", 1 = "Tak") as the flag.
OutboundReport SetZeroMarkerRequest(int channel, int listPosition);

OutboundReport GetResolutionRequest(int channel);   // 114
OutboundReport GetCoefficientRequest(int channel);  // 115
OutboundReport GetZeroMarkerRequest(int channel);   // 117

// The channel a 114, 115 or 117 reply names, 0..3; nullopt for any other byte: the reply changes
// nothing.
std::optional<int> ReplyChannel(std::uint8_t channelByte);

// The text for the resolution box: the already quartered value as a plain decimal integer.
std::string ResolutionReplyText(const ResolutionReply& reply);

// The text for the coefficient box: fixed-point, 15 significant digits, `divSelection` decimals
// (the default of two when the selection is outside 0..4).
std::string CoefficientReplyText(float coefficient, int divSelection, std::string_view decimalSeparator);

// The zero-marker list position a 117 reply selects: 0 or 1; -1 (no item selected) otherwise.
int ZeroMarkerListPosition(const ZeroMarkerReply& reply);

}  // namespace kvelt
