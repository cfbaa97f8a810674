#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "device/MainThreadPoster.h"

namespace kvelt::hid {

// The meeting point of one reader thread and the main thread.
//
// The reader hands work (delivering a report, reporting an error, opening its handle) to the
// main thread and blocks until that work has returned there, so the work never runs on the
// reader thread and never twice at once. The main thread is woken through the poster.
//
// Stopping: RequestStop() raises the stop flag and cuts a Pause() short; WaitForReader() then
// blocks until the reader has called ReaderFinished(), and while it waits it runs any work the
// reader hands over, so a reader blocked in a hand-over cannot deadlock the stop and a report
// already waiting is still delivered.
class ReportHandOver {
 public:
  explicit ReportHandOver(MainThreadPoster& poster);
  ~ReportHandOver();
  ReportHandOver(const ReportHandOver&) = delete;
  ReportHandOver& operator=(const ReportHandOver&) = delete;

  // Reader thread. Runs work on the main thread; returns once it has returned there.
  void HandOver(const std::function<void()>& work);
  // Reader thread. Waits for length or until a stop is requested; true when stopped.
  bool Pause(std::chrono::milliseconds length);
  // Reader thread, last call before the thread ends.
  void ReaderFinished();

  // Any thread.
  bool StopRequested() const;
  bool Finished() const;

  // Main thread.
  void RequestStop();
  // Main thread. Serves hand-overs until the reader has finished, then returns true. Returns
  // false at once when called from inside this reader's own hand-over work (the reader cannot
  // finish before that work returns); the stop stays requested.
  bool WaitForReader();
  // Main thread: true while this reader's hand-over work runs.
  bool InsideWork() const;

 private:
  struct Shared;
  MainThreadPoster& poster_;
  std::shared_ptr<Shared> shared_;  // posted wake-ups keep it alive after this object is gone
};

}  // namespace kvelt::hid
