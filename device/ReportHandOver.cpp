#include "device/ReportHandOver.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kvelt::hid {

namespace {

// How long the reader watches for the end of a hand-over before it goes to sleep; how long it
// spins between two offers of its core to another thread; and how soon after its last
// hand-over the reader must be back for the main thread to count as still awake.
constexpr std::chrono::microseconds kSpinLimit{50};
constexpr std::chrono::microseconds kSpinBeforeYield{5};
constexpr std::chrono::microseconds kBackToBack{100};

// One step of a busy wait: tells the core we are spinning (saves power, and the other
// hyper-thread of the core gets the pipeline).
inline void SpinPause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}

}  // namespace

struct ReportHandOver::Shared {
  enum class Phase { Idle, Pending, Running };

  mutable std::mutex Mutex;
  std::condition_variable Changed;
  // Written only with Mutex held; atomic so that the reader can watch it without the lock.
  // On a cache line of its own, so the spinning reader does not fight over the mutex's.
  alignas(64) std::atomic<Phase> State{Phase::Idle};
  const std::function<void()>* Work = nullptr;
  bool Stop = false;
  bool Done = false;

  // Main thread: runs the pending work, if any. Exceptions from the work pass on to the
  // caller after the reader has been released.
  void Serve() {
    std::unique_lock lock(Mutex);
    if (State != Phase::Pending) return;
    State = Phase::Running;
    const std::function<void()>* work = Work;
    lock.unlock();
    struct Release {
      Shared& Owner;
      ~Release() {
        {
          std::lock_guard relock(Owner.Mutex);
          Owner.State = Phase::Idle;
          Owner.Work = nullptr;
        }
        // Costs no system call unless the reader has gone to sleep in WaitUntilIdle().
        Owner.Changed.notify_all();
      }
    } release{*this};
    (*work)();
  }

  // Reader thread: returns once the hand-over's work, posted at `posted`, has returned on the
  // main thread.
  //
  // The usual adaptive wait. When the main thread is awake the work is done a few microseconds
  // after it was posted, far sooner than putting the reader to sleep and waking it again on
  // another core costs (tens of microseconds in a virtual machine, the bulk of a hand-over). So
  // for reports that come back to back the reader first watches the phase for a bounded
  // while, and only then sleeps on the condition variable. A report that the reader had to
  // wait for finds the main thread asleep; its wake-up takes about as long as the spin, so the
  // reader sleeps at once and the counter's steady rate costs no spinning. The bound keeps a
  // slow handler, a stopped main thread or an overloaded machine from costing more than that
  // much CPU per hand-over; the periodic yield gives the core to the main thread at once when
  // both share one.
  void WaitUntilIdle(std::chrono::steady_clock::time_point posted) {
    if (posted - LastReturn >= kBackToBack || !SpinUntilIdle(posted)) {
      std::unique_lock lock(Mutex);
      Changed.wait(lock, [this] { return State == Phase::Idle; });
    }
    LastReturn = std::chrono::steady_clock::now();
  }

  bool SpinUntilIdle(std::chrono::steady_clock::time_point start) const {
    auto nextYield = start + kSpinBeforeYield;
    for (;;) {
      for (int i = 0; i < 16; ++i) {
        if (State.load(std::memory_order_acquire) == Phase::Idle) return true;
        SpinPause();
      }
      const auto now = std::chrono::steady_clock::now();
      if (now - start >= kSpinLimit) return false;
      if (now >= nextYield) {
        std::this_thread::yield();
        nextYield = now + kSpinBeforeYield;
      }
    }
  }

  // Reader thread only: when its last hand-over returned.
  std::chrono::steady_clock::time_point LastReturn{};
};

ReportHandOver::ReportHandOver(MainThreadPoster& poster)
    : poster_(poster), shared_(std::make_shared<Shared>()) {}

ReportHandOver::~ReportHandOver() = default;

void ReportHandOver::HandOver(const std::function<void()>& work) {
  {
    std::lock_guard lock(shared_->Mutex);
    shared_->Work = &work;
    shared_->State = Shared::Phase::Pending;
  }
  shared_->Changed.notify_all();  // a main thread waiting in WaitForReader() serves it at once
  const auto posted = std::chrono::steady_clock::now();
  poster_.Post([shared = shared_] { shared->Serve(); });
  shared_->WaitUntilIdle(posted);
}

bool ReportHandOver::Pause(std::chrono::milliseconds length) {
  std::unique_lock lock(shared_->Mutex);
  return shared_->Changed.wait_for(lock, length, [this] { return shared_->Stop; });
}

void ReportHandOver::ReaderFinished() {
  {
    std::lock_guard lock(shared_->Mutex);
    shared_->Done = true;
  }
  shared_->Changed.notify_all();
}

bool ReportHandOver::StopRequested() const {
  std::lock_guard lock(shared_->Mutex);
  return shared_->Stop;
}

bool ReportHandOver::Finished() const {
  std::lock_guard lock(shared_->Mutex);
  return shared_->Done;
}

void ReportHandOver::RequestStop() {
  {
    std::lock_guard lock(shared_->Mutex);
    shared_->Stop = true;
  }
  shared_->Changed.notify_all();
}

bool ReportHandOver::WaitForReader() {
  std::unique_lock lock(shared_->Mutex);
  for (;;) {
    if (shared_->Done) return true;
    // Only the main thread runs work, so seeing it running means we are inside it.
    if (shared_->State == Shared::Phase::Running) return false;
    if (shared_->State == Shared::Phase::Pending) {
      lock.unlock();
      try {
        shared_->Serve();
      } catch (...) {
        // The stop has to complete (it may run inside a destructor): an error escaping the
        // handler of a report delivered during the stop is dropped.
      }
      lock.lock();
      continue;
    }
    shared_->Changed.wait(lock);
  }
}

bool ReportHandOver::InsideWork() const {
  std::lock_guard lock(shared_->Mutex);
  return shared_->State == Shared::Phase::Running;
}

}  // namespace kvelt::hid
