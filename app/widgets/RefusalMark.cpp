#include "app/widgets/RefusalMark.h"

#include <QWidget>

#include "app/widgets/EditBoxBackground.h"

namespace kvelt::app {

void RefusalMark::Mark(QWidget* box, const QString& reason) {
  if (box == nullptr) {
    return;
  }
  EditBoxBackground::MarkRefused(box);
  box->setToolTip(reason);
}

void RefusalMark::Clear(QWidget* box) {
  if (box == nullptr) {
    return;
  }
  // Only a refusal puts a tooltip on these boxes: a box never refused keeps what it has.
  if (EditBoxBackground::IsMarkedRefused(box)) {
    box->setToolTip(QString());
  }
  EditBoxBackground::MarkNormal(box);
}

}  // namespace kvelt::app
