#include "device/sim/SimulatedCounterHandle.h"

#include <cerrno>
#include <utility>

namespace kvelt::hid::sim {

SimulatedCounterHandle::SimulatedCounterHandle(std::shared_ptr<SimulatedCounter> counter, HidOpenMode mode)
    : counter_(std::move(counter)), mode_(mode) {
  // A metadata-only handle has no file behind it, so nothing is queued for it.
  if (mode_ != HidOpenMode::MetadataOnly) counter_->OpenHandle(state_);
}

SimulatedCounterHandle::~SimulatedCounterHandle() {
  if (mode_ != HidOpenMode::MetadataOnly) counter_->CloseHandle(state_);
}

HidReadResult SimulatedCounterHandle::Read(std::uint8_t* buffer, std::size_t length) {
  if (mode_ == HidOpenMode::MetadataOnly) return {HidReadResult::Status::Failed, 0, EBADF};
  return counter_->Read(state_, buffer, length);
}

void SimulatedCounterHandle::RequestStop() { counter_->Stop(state_); }

bool SimulatedCounterHandle::Write(const std::uint8_t* data, std::size_t length, std::size_t& written) {
  written = 0;
  if (mode_ != HidOpenMode::ReadWrite) return false;
  return counter_->Write(state_, data, length, written);
}

}  // namespace kvelt::hid::sim
