#pragma once

#include <QTimer>

class QLabel;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::app {

class RecordingPage;

// The running recording's progress on the read-outs page, once a second: the file, the lines
// written and the time since the start, and the last failed line's reason. Hidden while nothing
// is recorded.
class RecordingProgress {
 public:
  RecordingProgress(QLabel* label, const RecordingPage& recording, const TLangTable& texts);

  // The text now (also after a change of language).
  void Update();

 private:
  QLabel* label_;
  const RecordingPage& recording_;
  const TLangTable& texts_;
  QTimer clock_;
};

}  // namespace kvelt::app
