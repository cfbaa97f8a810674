#pragma once

#include <QApplication>

// The application object: delivers every event inside a guard, so an error that escapes any
// handler is shown in the error box and the message loop goes on.
class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};
