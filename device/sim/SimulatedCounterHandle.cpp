#include "device/sim/SimulatedCounterHandle.h"

#include <cerrno>
#include <utility>

namespace kvelt::hid::sim {

SimulatedCounterHandle::SimulatedCounterHandle(std::shared_ptr<SimulatedCounter> counter, HidOpenMode mode)
    : Counter_(std::move(counter)), Mode_(mode) {
  // A metadata-only handle has no file behind it, so nothing is queued for it.
  if (Mode_ != HidOpenMode::MetadataOnly) Counter_->OpenHandle(State_);
}

SimulatedCounterHandle::~SimulatedCounterHandle() {
  if (Mode_ != HidOpenMode::MetadataOnly) Counter_->CloseHandle(State_);
}

HidReadResult SimulatedCounterHandle::Read(std::uint8_t* buffer, std::size_t length) {
  if (Mode_ == HidOpenMode::MetadataOnly) return {HidReadResult::Status::Failed, 0, EBADF};
  return Counter_->Read(State_, buffer, length);
}

void SimulatedCounterHandle::RequestStop() { Counter_->Stop(State_); }

bool SimulatedCounterHandle::Write(const std::uint8_t* data, std::size_t length, std::size_t& written) {
  written = 0;
  if (Mode_ != HidOpenMode::ReadWrite) return false;
  return Counter_->Write(State_, data, length, written);
}

}  // namespace kvelt::hid::sim
