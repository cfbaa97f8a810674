#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"

namespace kvelt::hid::test {

// A HID backend a test lays out: the interfaces present, which of them open in which mode, the
// reports each one delivers (none unless queued: a read then waits until it is stopped), what
// was written to them, and a count of the handles left open.
class FakeHidBackend final : public HidBackend {
 public:
  struct Interface {
    HidInterfaceInfo Info;
    bool Openable = true;   // false: no mode opens (not even metadata)
    bool ReadWrite = true;  // false: only MetadataOnly opens
  };

  FakeHidBackend();
  explicit FakeHidBackend(std::vector<Interface> interfaces);
  ~FakeHidBackend() override;

  // An interface with these facts, report lengths 65/65, at the path "/fake/<identity>".
  static Interface Make(const std::string& identity, std::string product = {}, std::uint16_t vendor = 0x1209,
                        std::uint16_t productId = 0x0001, bool readWrite = true);

  // Main thread.
  void SetInterfaces(std::vector<Interface> interfaces);
  void AddInterface(Interface interface);
  void RemoveInterface(const std::string& identity);
  void SetOpenable(const std::string& identity, bool openable);
  void Announce();                        // as the system does when devices come or go
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
  // The output reports written, to one interface or to every one, in the order written.
  std::vector<std::vector<std::uint8_t>> Written(const std::string& identity) const;
  std::vector<std::vector<std::uint8_t>> Written() const;

  int OpenHandles() const;  // handles of every mode not yet destroyed
  int OpenCount(HidOpenMode mode) const;

  // HidBackend.
  std::vector<HidInterfaceInfo> Enumerate() override;
  std::unique_ptr<HidHandle> Open(const HidInterfaceInfo& info, HidOpenMode mode) override;
  int MonitorFd() const override { return -1; }
  bool DrainMonitor() override;
  void SetChangeCallback(std::function<void()> callback) override;

  struct Channel;
  struct Shared;

 private:
  std::shared_ptr<Channel> ChannelOf(const std::string& identity);

  std::vector<Interface> interfaces_;
  std::function<void()> changeCallback_;
  int enumerateCount_ = 0;
  int drainCount_ = 0;
  std::mutex channelsMutex_;
  std::map<std::string, std::shared_ptr<Channel>> channels_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace kvelt::hid::test
