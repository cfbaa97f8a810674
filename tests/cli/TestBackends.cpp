#include "TestBackends.h"

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "config/EncoderParameters.h"
#include "protocol/DeviceCommand.h"
#include "protocol/OutputReportFrame.h"

namespace kvelt::cli::test {

// Shared by the bus and the handles it hands out.
struct MuteSwitch {
  std::mutex Mutex;
  std::condition_variable Changed;
  bool Muted = false;
};

namespace {

// Reads through to the simulated counter until the bus is muted; then a read waits until it is
// stopped, as a read of a silent device does.
class MutableHandle final : public hid::HidHandle {
 public:
  MutableHandle(std::unique_ptr<hid::HidHandle> inner, std::shared_ptr<MuteSwitch> mute)
      : inner_(std::move(inner)), mute_(std::move(mute)) {}
  hid::HidReadResult Read(std::uint8_t* buffer, std::size_t length) override {
    hid::HidReadResult result = inner_->Read(buffer, length);
    std::unique_lock lock(mute_->Mutex);
    if (!mute_->Muted || result.State != hid::HidReadResult::Status::Report) return result;
    mute_->Changed.wait(lock, [this] { return stopped_; });
    return hid::HidReadResult{hid::HidReadResult::Status::Stopped, 0, 0};
  }
  void RequestStop() override {
    {
      std::lock_guard lock(mute_->Mutex);
      stopped_ = true;
    }
    mute_->Changed.notify_all();
    inner_->RequestStop();
  }
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override {
    return inner_->Write(data, length, written);
  }

 private:
  std::unique_ptr<hid::HidHandle> inner_;
  std::shared_ptr<MuteSwitch> mute_;
  bool stopped_ = false;  // guarded by mute_->Mutex
};

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

// Forwards every write; after a resolution request the second client writes 777 to that channel.
class OverwrittenHandle final : public hid::HidHandle {
 public:
  OverwrittenHandle(std::unique_ptr<hid::HidHandle> inner, std::unique_ptr<hid::HidHandle> other)
      : inner_(std::move(inner)), other_(std::move(other)) {}
  hid::HidReadResult Read(std::uint8_t* buffer, std::size_t length) override {
    return inner_->Read(buffer, length);
  }
  void RequestStop() override { inner_->RequestStop(); }
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override {
    if (!inner_->Write(data, length, written)) return false;
    if (length > 2 && data[1] == CodeOf(DeviceCommand::cmdSetResolution)) {
      const std::vector<std::uint8_t> report =
          FrameOutputReport(*SetResolutionRequest(data[2], "777"), length);
      std::size_t otherWritten = 0;
      other_->Write(report.data(), report.size(), otherWritten);
    }
    return true;
  }

 private:
  std::unique_ptr<hid::HidHandle> inner_;
  std::unique_ptr<hid::HidHandle> other_;
};

class BusBackend final : public hid::HidBackend {
 public:
  BusBackend(std::shared_ptr<hid::sim::SimulatedHidBackend> simulated, Mode mode,
             std::shared_ptr<MuteSwitch> mute)
      : simulated_(std::move(simulated)), mode_(mode), mute_(std::move(mute)) {}
  ~BusBackend() override { simulated_->SetChangeCallback(nullptr); }
  BusBackend(const BusBackend&) = delete;
  BusBackend& operator=(const BusBackend&) = delete;

  std::vector<hid::HidInterfaceInfo> Enumerate() override {
    if (mode_ == Mode::Empty) return {};
    std::vector<hid::HidInterfaceInfo> devices = simulated_->Enumerate();
    for (hid::HidInterfaceInfo& device : devices) {
      if (mode_ == Mode::HostileName && device.Identity != hid::sim::SimulatedHidBackend::kCounterIdentity)
        device.ProductString = "\x1b]0;owned\x07\x1b[31mKeyboard";
    }
    return devices;
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
    if (handle && counter && mode_ == Mode::Overwritten && mode == hid::HidOpenMode::ReadWrite)
      return std::make_unique<OverwrittenHandle>(std::move(handle), simulated_->Open(info, mode));
    if (handle && counter) return std::make_unique<MutableHandle>(std::move(handle), mute_);
    return handle;
  }
  int LastOpenError() const override { return lastError_; }
  hid::HidLockResult LockDevice(const hid::HidInterfaceInfo& info) override {
    return mode_ == Mode::Overwritten ? hid::HidLockResult{} : simulated_->LockDevice(info);
  }
  int MonitorFd() const override { return -1; }
  bool DrainMonitor() override { return false; }
  void SetChangeCallback(std::function<void()> callback) override {
    simulated_->SetChangeCallback(std::move(callback));
  }

 private:
  std::shared_ptr<hid::sim::SimulatedHidBackend> simulated_;
  Mode mode_;
  std::shared_ptr<MuteSwitch> mute_;
  int lastError_ = 0;
};

}  // namespace

SharedSimulatedBus::SharedSimulatedBus(Mode mode)
    : mode_(mode),
      simulated_(std::make_shared<hid::sim::SimulatedHidBackend>()),
      mute_(std::make_shared<MuteSwitch>()) {}

void SharedSimulatedBus::Mute() {
  std::lock_guard lock(mute_->Mutex);
  mute_->Muted = true;
}

std::unique_ptr<hid::HidBackend> SharedSimulatedBus::MakeBackend() {
  return std::make_unique<BusBackend>(simulated_, mode_, mute_);
}

}  // namespace kvelt::cli::test
