#include "app/pages/RecordingProgress.h"

#include <QFileInfo>
#include <QLabel>
#include <QTime>

#include "app/pages/PageText.h"
#include "app/pages/RecordingPage.h"

namespace kvelt::app {

RecordingProgress::RecordingProgress(QLabel* label, const RecordingPage& recording, const TLangTable& texts)
    : label_(label), recording_(recording), texts_(texts) {
  label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label_->setVisible(false);
  clock_.setInterval(1000);
  QObject::connect(&clock_, &QTimer::timeout, label_, [this] { Update(); });
  clock_.start();
}

void RecordingProgress::Update() {
  if (!recording_.Recording()) {
    label_->setVisible(false);
    return;
  }
  const qint64 seconds = recording_.MillisecondsSinceStart() / 1000;
  const QString since = QStringLiteral("%1:%2:%3")
                            .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                            .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                            .arg(seconds % 60, 2, 10, QLatin1Char('0'));
  QString text = PageText(texts_, "IDS_236")
                     .arg(QFileInfo(recording_.FileName()).fileName(),
                          QString::number(recording_.LinesSinceStart()), since);
  const QString problem = recording_.LastLineProblem();
  if (!problem.isEmpty()) {
    text += QStringLiteral(" · ") + PageText(texts_, "IDS_237").arg(problem);
  }
  label_->setText(text);
  label_->setToolTip(recording_.FileName());
  label_->setVisible(true);
}

}  // namespace kvelt::app
