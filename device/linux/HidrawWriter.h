#pragma once

// Writes to a hidraw node from a thread of its own, so that no caller waits on the device.
// usbhid sends an output report with a 5 s timeout and ignores O_NONBLOCK, so a counter that
// stops taking reports would hold a plain write() that long; and while it does, the kernel also
// holds the hidraw table lock that opening and closing any hidraw node take.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace kvelt::hid {

class HidrawWriter {
 public:
  // How long Write() waits for its report before it reports failure.
  static constexpr std::chrono::milliseconds kWaitBound{100};

  // Takes ownership of `deviceFd` (a descriptor of its own, e.g. a dup()): the writing thread
  // closes it when it ends, so the kernel's release never runs on the caller's thread while a
  // write is in flight. Throws std::system_error when the thread cannot start.
  explicit HidrawWriter(int deviceFd);
  // Returns at once; a write in flight finishes on the writing thread, which then ends.
  ~HidrawWriter();
  HidrawWriter(const HidrawWriter&) = delete;
  HidrawWriter& operator=(const HidrawWriter&) = delete;

  // True while any writer of the process is inside write(). The kernel's hidraw release and
  // open wait for every write in flight on any hidraw node then, up to usbhid's 5 s.
  static bool WritesInFlight();

  // One whole report. False when it failed or when it, together with an earlier report still
  // in flight, took longer than kWaitBound (it then goes out later, or, when the earlier one
  // never finished in that time, not at all).
  bool Write(const std::uint8_t* data, std::size_t length, std::size_t& written);

 private:
  struct Shared {
    std::mutex Mutex;
    std::condition_variable Changed;
    int DeviceFd = -1;
    std::vector<std::uint8_t> Report;
    std::uint64_t Requested = 0;  // reports handed over so far
    std::uint64_t Finished = 0;   // reports written or failed so far
    long long Result = 0;         // write()'s result for report number Finished
    bool Quit = false;
  };
  static void Loop(const std::shared_ptr<Shared>& shared);

  static std::atomic<int> inFlight_;

  std::shared_ptr<Shared> shared_;
};

}  // namespace kvelt::hid
