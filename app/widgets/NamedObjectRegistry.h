#pragma once

#include <QHash>
#include <QString>

class QObject;

namespace kvelt::app {

// The named objects of a window: the window itself (by its object name or its class name), the
// objects registered here (also those outside the widget tree, such as a chart's series) and
// every named child of the window.
class NamedObjectRegistry {
 public:
  NamedObjectRegistry(QObject& root, const QString& className);

  // Registers an object under its object name.
  void Register(QObject* object);
  // The object of that name; none for an empty name or a name nothing has.
  QObject* Find(const QString& name) const;

 private:
  QObject& root_;
  QString className_;
  QHash<QString, QObject*> objects_;
};

}  // namespace kvelt::app
