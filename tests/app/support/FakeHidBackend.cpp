#include "tests/app/support/FakeHidBackend.h"

#include <algorithm>

namespace kvelt::apptest {

namespace {

using kvelt::hid::HidHandle;
using kvelt::hid::HidOpenMode;
using kvelt::hid::HidReadResult;

class IdleHandle final : public HidHandle {
 public:
  using Sink = std::function<void(const std::uint8_t*, std::size_t)>;
  explicit IdleHandle(Sink sink) : sink_(std::move(sink)) {}

  HidReadResult Read(std::uint8_t* /*buffer*/, std::size_t /*length*/) override {
    std::unique_lock lock(mutex_);
    stopChanged_.wait(lock, [this] { return stopped_; });
    return {HidReadResult::Status::Stopped, 0, 0};
  }
  void RequestStop() override {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    stopChanged_.notify_all();
  }
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override {
    written = 0;
    if (!sink_) return false;
    sink_(data, length);
    written = length;
    return true;
  }

 private:
  Sink sink_;
  std::mutex mutex_;
  std::condition_variable stopChanged_;
  bool stopped_ = false;
};

}  // namespace

FakeHidBackend::FakeHidBackend(std::vector<Interface> interfaces) : interfaces_(std::move(interfaces)) {}

void FakeHidBackend::SetInterfaces(std::vector<Interface> interfaces) { interfaces_ = std::move(interfaces); }

void FakeHidBackend::Announce() {
  if (changed_) {
    const std::function<void()> callback = changed_;
    callback();
  }
}

std::vector<std::vector<std::uint8_t>> FakeHidBackend::Written() const {
  std::lock_guard lock(shared_->Mutex);
  return shared_->Written;
}

std::vector<kvelt::hid::HidInterfaceInfo> FakeHidBackend::Enumerate() {
  std::vector<kvelt::hid::HidInterfaceInfo> present;
  for (const Interface& entry : interfaces_) present.push_back(entry.Info);
  return present;
}

std::unique_ptr<HidHandle> FakeHidBackend::Open(const kvelt::hid::HidInterfaceInfo& info, HidOpenMode mode) {
  const auto found = std::find_if(interfaces_.begin(), interfaces_.end(),
                                  [&](const Interface& entry) { return entry.Info.Path == info.Path; });
  if (found == interfaces_.end()) return nullptr;
  if (mode == HidOpenMode::MetadataOnly) return std::make_unique<IdleHandle>(nullptr);
  if (!found->ReadWrite) return nullptr;
  std::shared_ptr<Shared> shared = shared_;
  return std::make_unique<IdleHandle>([shared](const std::uint8_t* data, std::size_t length) {
    std::lock_guard lock(shared->Mutex);
    shared->Written.emplace_back(data, data + length);
  });
}

FakeHidBackend::Interface FakeHidBackend::Make(const char* identity, const char* product,
                                               std::uint16_t vendor, std::uint16_t productId,
                                               bool readWrite) {
  Interface entry;
  entry.Info.Identity = identity;
  entry.Info.Path = identity;
  entry.Info.VendorID = vendor;
  entry.Info.ProductID = productId;
  entry.Info.ProductString = product;
  entry.Info.InputReportByteLength = 65;
  entry.Info.OutputReportByteLength = 65;
  entry.ReadWrite = readWrite;
  return entry;
}

}  // namespace kvelt::apptest
