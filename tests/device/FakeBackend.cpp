#include "tests/device/FakeBackend.h"

#include <algorithm>
#include <chrono>
#include <deque>

#include "protocol/ByteOrder.h"

namespace kvelt::hid::test {

struct FakeBackend::Counters {
  std::atomic<int> Live{0};
  std::atomic<int> Opened[3]{};
};

struct FakeBackend::Channel {
  std::mutex Mutex;
  std::condition_variable Changed;
  std::deque<std::vector<std::uint8_t>> Reports;
  bool Endless = false;
  int ReadError = 0;
  std::uint32_t NextSequence = 0;
  std::uint64_t ReportsRead = 0;
  std::uint64_t FailedReads = 0;
  std::vector<std::vector<std::uint8_t>> Written;
};

namespace {

class FakeHandle final : public HidHandle {
 public:
  FakeHandle(std::shared_ptr<FakeBackend::Channel> channel, HidOpenMode mode, std::shared_ptr<void> counters,
             std::atomic<int>& live)
      : channel_(std::move(channel)), mode_(mode), counters_(std::move(counters)), live_(live) {
    ++live_;
  }
  ~FakeHandle() override { --live_; }

  HidReadResult Read(std::uint8_t* buffer, std::size_t length) override {
    std::unique_lock lock(channel_->Mutex);
    if (mode_ == HidOpenMode::MetadataOnly) return {HidReadResult::Status::Failed, 0, 9};
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
    std::lock_guard lock(channel_->Mutex);
    channel_->Written.emplace_back(data, data + length);
    written = length;
    return true;
  }

 private:
  std::shared_ptr<FakeBackend::Channel> channel_;
  HidOpenMode mode_;
  std::shared_ptr<void> counters_;  // keeps the live count alive
  std::atomic<int>& live_;
  bool stopped_ = false;  // guarded by channel_->Mutex
};

}  // namespace

FakeBackend::FakeBackend() : counters_(std::make_shared<Counters>()) {}
FakeBackend::~FakeBackend() = default;

FakeBackend::Interface FakeBackend::MakeInterface(const std::string& identity, std::string product,
                                                  std::uint16_t inputLength, std::uint16_t outputLength) {
  Interface result;
  result.Info.Identity = identity;
  result.Info.Path = "/fake/" + identity;
  result.Info.VendorID = 0x1234;
  result.Info.ProductID = 0x00AB;
  result.Info.ProductString = std::move(product);
  result.Info.InputReportByteLength = inputLength;
  result.Info.OutputReportByteLength = outputLength;
  return result;
}

void FakeBackend::SetInterfaces(std::vector<Interface> interfaces) { interfaces_ = std::move(interfaces); }

void FakeBackend::AddInterface(Interface interface) { interfaces_.push_back(std::move(interface)); }

void FakeBackend::RemoveInterface(const std::string& identity) {
  std::erase_if(interfaces_, [&](const Interface& i) { return i.Info.Identity == identity; });
}

void FakeBackend::SetOpenable(const std::string& identity, bool openable) {
  for (Interface& i : interfaces_) {
    if (i.Info.Identity == identity) i.Openable = openable;
  }
}

void FakeBackend::FireChange() {
  if (changeCallback_) changeCallback_();
}

std::shared_ptr<FakeBackend::Channel> FakeBackend::ChannelOf(const std::string& identity) {
  std::lock_guard lock(channelsMutex_);
  std::shared_ptr<Channel>& channel = channels_[identity];
  if (!channel) channel = std::make_shared<Channel>();
  return channel;
}

void FakeBackend::QueueReport(const std::string& identity, std::vector<std::uint8_t> report) {
  auto channel = ChannelOf(identity);
  {
    std::lock_guard lock(channel->Mutex);
    channel->Reports.push_back(std::move(report));
  }
  channel->Changed.notify_all();
}

void FakeBackend::SetEndlessReports(const std::string& identity, bool endless) {
  auto channel = ChannelOf(identity);
  {
    std::lock_guard lock(channel->Mutex);
    channel->Endless = endless;
  }
  channel->Changed.notify_all();
}

void FakeBackend::SetReadError(const std::string& identity, int error) {
  auto channel = ChannelOf(identity);
  {
    std::lock_guard lock(channel->Mutex);
    channel->ReadError = error;
  }
  channel->Changed.notify_all();
}

bool FakeBackend::WaitForReportsRead(const std::string& identity, std::uint64_t count, int timeoutMs) {
  auto channel = ChannelOf(identity);
  std::unique_lock lock(channel->Mutex);
  return channel->Changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return channel->ReportsRead >= count; });
}

std::uint64_t FakeBackend::ReportsRead(const std::string& identity) {
  auto channel = ChannelOf(identity);
  std::lock_guard lock(channel->Mutex);
  return channel->ReportsRead;
}

std::uint64_t FakeBackend::FailedReads(const std::string& identity) {
  auto channel = ChannelOf(identity);
  std::lock_guard lock(channel->Mutex);
  return channel->FailedReads;
}

std::vector<std::vector<std::uint8_t>> FakeBackend::Written(const std::string& identity) {
  auto channel = ChannelOf(identity);
  std::lock_guard lock(channel->Mutex);
  return channel->Written;
}

int FakeBackend::OpenHandles() const { return counters_->Live.load(); }

int FakeBackend::OpenCount(HidOpenMode mode) const {
  return counters_->Opened[static_cast<int>(mode)].load();
}

std::vector<HidInterfaceInfo> FakeBackend::Enumerate() {
  ++enumerateCount_;
  std::vector<HidInterfaceInfo> result;
  for (const Interface& i : interfaces_) result.push_back(i.Info);
  if (DuringEnumerate) DuringEnumerate();
  return result;
}

std::unique_ptr<HidHandle> FakeBackend::Open(const HidInterfaceInfo& info, HidOpenMode mode) {
  const auto found = std::find_if(interfaces_.begin(), interfaces_.end(),
                                  [&](const Interface& i) { return i.Info.Identity == info.Identity; });
  if (found == interfaces_.end() || !found->Openable) return nullptr;
  if (mode != HidOpenMode::MetadataOnly && !found->ReadWrite) return nullptr;
  ++counters_->Opened[static_cast<int>(mode)];
  return std::make_unique<FakeHandle>(ChannelOf(info.Identity), mode, counters_, counters_->Live);
}

bool FakeBackend::DrainMonitor() {
  ++drainCount_;
  return DrainResult;
}

void FakeBackend::SetChangeCallback(std::function<void()> callback) { changeCallback_ = std::move(callback); }

}  // namespace kvelt::hid::test
