#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace kvelt::hid::test {

// A scriptable HID backend for the layer's tests: the interfaces present, which of them open
// in which mode, the reports each one delivers, and a count of the handles left open.
class FakeBackend final : public HidBackend {
 public:
  struct Interface {
    HidInterfaceInfo Info;
    bool Openable = true;   // false: no mode opens (not even metadata)
    bool ReadWrite = true;  // false: only MetadataOnly opens
  };

  FakeBackend();
  ~FakeBackend() override;

  // Main thread.
  static Interface MakeInterface(const std::string& identity, std::string product = {},
                                 std::uint16_t inputLength = 65, std::uint16_t outputLength = 65);
  void SetInterfaces(std::vector<Interface> interfaces);
  void AddInterface(Interface interface);
  void RemoveInterface(const std::string& identity);
  void SetOpenable(const std::string& identity, bool openable);
  void FireChange();                      // as the system does when devices come or go
  std::function<void()> DuringEnumerate;  // runs inside Enumerate()
  int EnumerateCount() const { return enumerateCount_; }
  bool DrainResult = false;
  int DrainCount() const { return drainCount_; }

  // Any thread. Reports and read outcomes for the read handles of an interface.
  void QueueReport(const std::string& identity, std::vector<std::uint8_t> report);
  // Every read returns a fresh report: {1, sequence number (u32 LE), ...}, length bytes.
  void SetEndlessReports(const std::string& identity, bool endless);
  // Every read fails with this error code (0 clears it).
  void SetReadError(const std::string& identity, int error);
  // Blocks until `count` reads of the interface have returned a report (or the timeout).
  bool WaitForReportsRead(const std::string& identity, std::uint64_t count, int timeoutMs);
  std::uint64_t ReportsRead(const std::string& identity);
  std::uint64_t FailedReads(const std::string& identity);
  std::vector<std::vector<std::uint8_t>> Written(const std::string& identity);

  int OpenHandles() const;  // handles of every mode not yet destroyed
  int OpenCount(HidOpenMode mode) const;

  // HidBackend.
  std::vector<HidInterfaceInfo> Enumerate() override;
  std::unique_ptr<HidHandle> Open(const HidInterfaceInfo& info, HidOpenMode mode) override;
  int MonitorFd() const override { return -1; }
  bool DrainMonitor() override;
  void SetChangeCallback(std::function<void()> callback) override;

  struct Channel;

 private:
  std::shared_ptr<Channel> ChannelOf(const std::string& identity);

  std::vector<Interface> interfaces_;
  std::function<void()> changeCallback_;
  int enumerateCount_ = 0;
  int drainCount_ = 0;
  std::mutex channelsMutex_;
  std::map<std::string, std::shared_ptr<Channel>> channels_;
  struct Counters;
  std::shared_ptr<Counters> counters_;
};

}  // namespace kvelt::hid::test
