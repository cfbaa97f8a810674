#include "device/ReportHandOver.h"

#include <condition_variable>
#include <mutex>

namespace kvelt::hid {

struct ReportHandOver::Shared {
  enum class Phase { Idle, Pending, Running };

  mutable std::mutex Mutex;
  std::condition_variable Changed;
  Phase State = Phase::Idle;
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
        Owner.Changed.notify_all();
      }
    } release{*this};
    (*work)();
  }
};

ReportHandOver::ReportHandOver(MainThreadPoster& poster)
    : Poster_(poster), Shared_(std::make_shared<Shared>()) {}

ReportHandOver::~ReportHandOver() = default;

void ReportHandOver::HandOver(const std::function<void()>& work) {
  {
    std::lock_guard lock(Shared_->Mutex);
    Shared_->Work = &work;
    Shared_->State = Shared::Phase::Pending;
  }
  Shared_->Changed.notify_all();  // a main thread waiting in WaitForReader() serves it at once
  Poster_.Post([shared = Shared_] { shared->Serve(); });
  std::unique_lock lock(Shared_->Mutex);
  Shared_->Changed.wait(lock, [this] { return Shared_->State == Shared::Phase::Idle; });
}

bool ReportHandOver::Pause(std::chrono::milliseconds length) {
  std::unique_lock lock(Shared_->Mutex);
  return Shared_->Changed.wait_for(lock, length, [this] { return Shared_->Stop; });
}

void ReportHandOver::ReaderFinished() {
  {
    std::lock_guard lock(Shared_->Mutex);
    Shared_->Done = true;
  }
  Shared_->Changed.notify_all();
}

bool ReportHandOver::StopRequested() const {
  std::lock_guard lock(Shared_->Mutex);
  return Shared_->Stop;
}

bool ReportHandOver::Finished() const {
  std::lock_guard lock(Shared_->Mutex);
  return Shared_->Done;
}

void ReportHandOver::RequestStop() {
  {
    std::lock_guard lock(Shared_->Mutex);
    Shared_->Stop = true;
  }
  Shared_->Changed.notify_all();
}

bool ReportHandOver::WaitForReader() {
  std::unique_lock lock(Shared_->Mutex);
  for (;;) {
    if (Shared_->Done) return true;
    // Only the main thread runs work, so seeing it running means we are inside it.
    if (Shared_->State == Shared::Phase::Running) return false;
    if (Shared_->State == Shared::Phase::Pending) {
      lock.unlock();
      try {
        Shared_->Serve();
      } catch (...) {
        // The stop has to complete (it may run inside a destructor): an error escaping the
        // handler of a report delivered during the stop is dropped.
      }
      lock.lock();
      continue;
    }
    Shared_->Changed.wait(lock);
  }
}

bool ReportHandOver::InsideWork() const {
  std::lock_guard lock(Shared_->Mutex);
  return Shared_->State == Shared::Phase::Running;
}

}  // namespace kvelt::hid
