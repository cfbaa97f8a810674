#include "tests/support/FakeHidBackend.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <utility>

#include "protocol/ByteOrder.h"

namespace kvelt::hid::test {

// What the backend shares with the handles it made, which may outlive it.
struct FakeHidBackend::Shared {
  std::atomic<int> Live{0};
  std::atomic<int> Opened[3]{};
  mutable std::mutex WrittenMutex;
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> Written;  // identity, report
};

struct FakeHidBackend::Channel {
  std::string Identity;
  std::mutex Mutex;
  std::condition_variable Changed;
  std::deque<std::vector<std::uint8_t>> Reports;
  bool Endless = false;
  int ReadError = 0;
  std::uint32_t NextSequence = 0;
  std::uint64_t ReportsRead = 0;
  std::uint64_t FailedReads = 0;
};

namespace {

class FakeHandle final : public HidHandle {
 public:
  FakeHandle(std::shared_ptr<FakeHidBackend::Channel> channel, HidOpenMode mode,
             std::shared_ptr<FakeHidBackend::Shared> shared)
      : channel_(std::move(channel)), mode_(mode), shared_(std::move(shared)) {
    ++shared_->Live;
  }
  ~FakeHandle() override { --shared_->Live; }
  FakeHandle(const FakeHandle&) = delete;
  FakeHandle& operator=(const FakeHandle&) = delete;

  HidReadResult Read(std::uint8_t* buffer, std::size_t length) override {
    if (mode_ == HidOpenMode::MetadataOnly) return {HidReadResult::Status::Failed, 0, EBADF};
    std::unique_lock lock(channel_->Mutex);
    channel_->Changed.wait(lock, [&] {
      return stopped_ || channel_->Endless || channel_->ReadError != 0 || !channel_->Reports.empty();
    });
    if (stopped_) return {HidReadResult::Status::Stopped, 0, 0};
    if (channel_->ReadError != 0) {
      ++channel_->FailedReads;
      channel_->Changed.notify_all();
      return {HidReadResult::Status::Failed, 0, channel_->ReadError};
    }
    std::size_t bytes = 0;
    if (!channel_->Reports.empty()) {
      const std::vector<std::uint8_t> report = std::move(channel_->Reports.front());
      channel_->Reports.pop_front();
      bytes = std::min(length, report.size());
      std::copy_n(report.begin(), bytes, buffer);
    } else {
      bytes = std::min<std::size_t>(length, 5);
      std::uint8_t image[5] = {1, 0, 0, 0, 0};
      StoreU32Le(image + 1, channel_->NextSequence++);
      std::copy_n(image, bytes, buffer);
    }
    ++channel_->ReportsRead;
    channel_->Changed.notify_all();
    return {HidReadResult::Status::Report, bytes, 0};
  }

  void RequestStop() override {
    {
      std::lock_guard lock(channel_->Mutex);
      stopped_ = true;
    }
    channel_->Changed.notify_all();
  }

  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written) override {
    written = 0;
    if (mode_ != HidOpenMode::ReadWrite) return false;
    std::lock_guard lock(shared_->WrittenMutex);
    shared_->Written.emplace_back(channel_->Identity, std::vector<std::uint8_t>(data, data + length));
    written = length;
    return true;
  }

 private:
  std::shared_ptr<FakeHidBackend::Channel> channel_;
  HidOpenMode mode_;
  std::shared_ptr<FakeHidBackend::Shared> shared_;
  bool stopped_ = false;  // guarded by channel_->Mutex
};

}  // namespace

FakeHidBackend::FakeHidBackend() : shared_(std::make_shared<Shared>()) {}
FakeHidBackend::FakeHidBackend(std::vector<Interface> interfaces) : FakeHidBackend() {
  interfaces_ = std::move(interfaces);
}
FakeHidBackend::~FakeHidBackend() = default;

FakeHidBackend::Interface FakeHidBackend::Make(const std::string& identity, std::string product,
                                               std::uint16_t vendor, std::uint16_t productId,
                                               bool readWrite) {
  Interface result;
  result.Info.Identity = identity;
  result.Info.Path = "/fake/" + identity;
  result.Info.VendorID = vendor;
  result.Info.ProductID = productId;
  result.Info.ProductString = std::move(product);
  result.Info.InputReportByteLength = 65;
  result.Info.OutputReportByteLength = 65;
  result.ReadWrite = readWrite;
  return result;
}

void FakeHidBackend::SetInterfaces(std::vector<Interface> interfaces) { interfaces_ = std::move(interfaces); }

void FakeHidBackend::AddInterface(Interface interface) { interfaces_.push_back(std::move(interface)); }

void FakeHidBackend::RemoveInterface(const std::string& identity) {
  std::erase_if(interfaces_, [&](const Interface& i) { return i.Info.Identity == identity; });
}

void FakeHidBackend::SetOpenable(const std::string& identity, bool openable) {
  for (Interface& i : interfaces_) {
    if (i.Info.Identity == identity) i.Openable = openable;
  }
}

void FakeHidBackend::Announce() {
  // A copy: the callback may set another one.
  if (const std::function<void()> callback = changeCallback_) callback();
}

std::shared_ptr<FakeHidBackend::Channel> FakeHidBackend::ChannelOf(const std::string& identity) {
  std::lock_guard lock(channelsMutex_);
  std::shared_ptr<Channel>& channel = channels_[identity];
  if (!channel) {
    channel = std::make_shared<Channel>();
    channel->Identity = identity;
  }
  return channel;
}

void FakeHidBackend::QueueReport(const std::string& identity, std::vector<std::uint8_t> report) {
  auto channel = ChannelOf(identity);
  {
    std::lock_guard lock(channel->Mutex);
    channel->Reports.push_back(std::move(report));
  }
  channel->Changed.notify_all();
}

void FakeHidBackend::SetEndlessReports(const std::string& identity, bool endless) {
  auto channel = ChannelOf(identity);
  {
    std::lock_guard lock(channel->Mutex);
    channel->Endless = endless;
  }
  channel->Changed.notify_all();
}

void FakeHidBackend::SetReadError(const std::string& identity, int error) {
  auto channel = ChannelOf(identity);
  {
    std::lock_guard lock(channel->Mutex);
    channel->ReadError = error;
  }
  channel->Changed.notify_all();
}

bool FakeHidBackend::WaitForReportsRead(const std::string& identity, std::uint64_t count, int timeoutMs) {
  auto channel = ChannelOf(identity);
  std::unique_lock lock(channel->Mutex);
  return channel->Changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return channel->ReportsRead >= count; });
}

std::uint64_t FakeHidBackend::ReportsRead(const std::string& identity) {
  auto channel = ChannelOf(identity);
  std::lock_guard lock(channel->Mutex);
  return channel->ReportsRead;
}

std::uint64_t FakeHidBackend::FailedReads(const std::string& identity) {
  auto channel = ChannelOf(identity);
  std::lock_guard lock(channel->Mutex);
  return channel->FailedReads;
}

std::vector<std::vector<std::uint8_t>> FakeHidBackend::Written(const std::string& identity) const {
  std::lock_guard lock(shared_->WrittenMutex);
  std::vector<std::vector<std::uint8_t>> result;
  for (const auto& [to, report] : shared_->Written) {
    if (to == identity) result.push_back(report);
  }
  return result;
}

std::vector<std::vector<std::uint8_t>> FakeHidBackend::Written() const {
  std::lock_guard lock(shared_->WrittenMutex);
  std::vector<std::vector<std::uint8_t>> result;
  for (const auto& entry : shared_->Written) result.push_back(entry.second);
  return result;
}

int FakeHidBackend::OpenHandles() const { return shared_->Live.load(); }

int FakeHidBackend::OpenCount(HidOpenMode mode) const {
  return shared_->Opened[static_cast<int>(mode)].load();
}

std::vector<HidInterfaceInfo> FakeHidBackend::Enumerate() {
  ++enumerateCount_;
  std::vector<HidInterfaceInfo> result;
  for (const Interface& i : interfaces_) result.push_back(i.Info);
  if (DuringEnumerate) DuringEnumerate();
  return result;
}

std::unique_ptr<HidHandle> FakeHidBackend::Open(const HidInterfaceInfo& info, HidOpenMode mode) {
  const auto found = std::find_if(interfaces_.begin(), interfaces_.end(),
                                  [&](const Interface& i) { return i.Info.Identity == info.Identity; });
  if (found == interfaces_.end() || !found->Openable) return nullptr;
  if (mode != HidOpenMode::MetadataOnly && !found->ReadWrite) return nullptr;
  ++shared_->Opened[static_cast<int>(mode)];
  return std::make_unique<FakeHandle>(ChannelOf(info.Identity), mode, shared_);
}

bool FakeHidBackend::DrainMonitor() {
  ++drainCount_;
  return DrainResult;
}

void FakeHidBackend::SetChangeCallback(std::function<void()> callback) {
  changeCallback_ = std::move(callback);
}

}  // namespace kvelt::hid::test
