// Turns the signals that end a session or a terminal (SIGTERM, SIGHUP, SIGINT) into a quit of the
// application, so that the program's shutdown runs and keeps the user's settings instead of the
// process dying where it stands.
#pragma once

#include <QObject>

class QSocketNotifier;

class QuitOnSignal : public QObject {
 public:
  QuitOnSignal();
  ~QuitOnSignal() override;
  QuitOnSignal(const QuitOnSignal&) = delete;
  QuitOnSignal& operator=(const QuitOnSignal&) = delete;

 private:
  QSocketNotifier* notifier_ = nullptr;
};
