#include "TestBackends.h"

#include <cerrno>
#include <utility>

namespace kvelt::cli::test {
namespace {

using Mode = SharedSimulatedBus::Mode;

// Reads through to the simulated counter; writes are taken but never reach it.
class SwallowingHandle final : public hid::HidHandle {
 public:
  explicit SwallowingHandle(std::unique_ptr<hid::HidHandle> inner) : inner_(std::move(inner)) {}
  hid::HidReadResult Read(std::uint8_t* buffer, std::size_t length) override {
    return inner_->Read(buffer, length);
  }
  void RequestStop() override { inner_->RequestStop(); }
  bool Write(const std::uint8_t*, std::size_t length, std::size_t& written) override {
    written = length;
    return true;
  }

 private:
  std::unique_ptr<hid::HidHandle> inner_;
};

class BusBackend final : public hid::HidBackend {
 public:
  BusBackend(std::shared_ptr<hid::sim::SimulatedHidBackend> simulated, Mode mode)
      : simulated_(std::move(simulated)), mode_(mode) {}
  ~BusBackend() override { simulated_->SetChangeCallback(nullptr); }
  BusBackend(const BusBackend&) = delete;
  BusBackend& operator=(const BusBackend&) = delete;

  std::vector<hid::HidInterfaceInfo> Enumerate() override {
    return mode_ == Mode::Empty ? std::vector<hid::HidInterfaceInfo>{} : simulated_->Enumerate();
  }
  std::unique_ptr<hid::HidHandle> Open(const hid::HidInterfaceInfo& info, hid::HidOpenMode mode) override {
    const bool counter = info.Identity == hid::sim::SimulatedHidBackend::kCounterIdentity;
    if (counter && mode_ == Mode::NoPermission && mode != hid::HidOpenMode::MetadataOnly) {
      lastError_ = EACCES;
      return nullptr;
    }
    std::unique_ptr<hid::HidHandle> handle = simulated_->Open(info, mode);
    lastError_ = handle ? 0 : simulated_->LastOpenError();
    if (handle && counter && mode_ == Mode::Silent)
      return std::make_unique<SwallowingHandle>(std::move(handle));
    return handle;
  }
  int LastOpenError() const override { return lastError_; }
  int MonitorFd() const override { return -1; }
  bool DrainMonitor() override { return false; }
  void SetChangeCallback(std::function<void()> callback) override {
    simulated_->SetChangeCallback(std::move(callback));
  }

 private:
  std::shared_ptr<hid::sim::SimulatedHidBackend> simulated_;
  Mode mode_;
  int lastError_ = 0;
};

}  // namespace

SharedSimulatedBus::SharedSimulatedBus(Mode mode)
    : mode_(mode), simulated_(std::make_shared<hid::sim::SimulatedHidBackend>()) {}

std::unique_ptr<hid::HidBackend> SharedSimulatedBus::MakeBackend() {
  return std::make_unique<BusBackend>(simulated_, mode_);
}

}  // namespace kvelt::cli::test
