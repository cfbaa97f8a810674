#include "app/widgets/NamedObjectRegistry.h"

#include <QObject>

namespace kvelt::app {

NamedObjectRegistry::NamedObjectRegistry(QObject& root, const QString& className)
    : root_(root), className_(className) {}

void NamedObjectRegistry::Register(QObject* object) { objects_.insert(object->objectName(), object); }

QObject* NamedObjectRegistry::Find(const QString& name) const {
  if (name.isEmpty()) {
    return nullptr;
  }
  if (name == root_.objectName() || name == className_) {
    return &root_;
  }
  if (QObject* object = objects_.value(name)) {
    return object;
  }
  return root_.findChild<QObject*>(name);
}

}  // namespace kvelt::app
