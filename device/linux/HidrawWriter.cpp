#include "device/linux/HidrawWriter.h"

#include <unistd.h>

#include <cerrno>
#include <thread>

namespace kvelt::hid {

std::atomic<int> HidrawWriter::inFlight_{0};

bool HidrawWriter::WritesInFlight() { return inFlight_.load(std::memory_order_acquire) != 0; }

HidrawWriter::HidrawWriter(int deviceFd) : shared_(std::make_shared<Shared>()) {
  shared_->DeviceFd = deviceFd;
  try {
    std::thread(Loop, shared_).detach();
  } catch (...) {
    ::close(deviceFd);
    throw;
  }
}

HidrawWriter::~HidrawWriter() {
  {
    std::lock_guard lock(shared_->Mutex);
    shared_->Quit = true;
  }
  shared_->Changed.notify_all();
}

void HidrawWriter::Loop(const std::shared_ptr<Shared>& shared) {
  std::unique_lock lock(shared->Mutex);
  for (;;) {
    shared->Changed.wait(lock, [&] { return shared->Quit || shared->Requested != shared->Finished; });
    if (shared->Requested == shared->Finished) break;  // quit with nothing left to write
    const std::vector<std::uint8_t> report = shared->Report;
    lock.unlock();
    ssize_t n = 0;
    inFlight_.fetch_add(1, std::memory_order_acq_rel);
    do {
      n = ::write(shared->DeviceFd, report.data(), report.size());
    } while (n < 0 && errno == EINTR);
    inFlight_.fetch_sub(1, std::memory_order_acq_rel);
    lock.lock();
    shared->Result = n;
    ++shared->Finished;
    shared->Changed.notify_all();
  }
  const int fd = shared->DeviceFd;
  lock.unlock();
  ::close(fd);
}

bool HidrawWriter::Write(const std::uint8_t* data, std::size_t length, std::size_t& written) {
  written = 0;
  const auto deadline = std::chrono::steady_clock::now() + kWaitBound;
  std::unique_lock lock(shared_->Mutex);
  if (!shared_->Changed.wait_until(lock, deadline, [&] { return shared_->Requested == shared_->Finished; })) {
    return false;
  }
  shared_->Report.assign(data, data + length);
  const std::uint64_t ticket = ++shared_->Requested;
  shared_->Changed.notify_all();
  if (!shared_->Changed.wait_until(lock, deadline, [&] { return shared_->Finished == ticket; })) return false;
  if (shared_->Result < 0) return false;
  written = static_cast<std::size_t>(shared_->Result);
  return written == length;
}

}  // namespace kvelt::hid
