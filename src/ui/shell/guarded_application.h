#pragma once
// Whatever a command throws (memory running out above all) ends that command
// with a message; the program, and the data typed into its windows, stay.
#include <QApplication>
#include <exception>
#include <functional>

#include "core/message.h"

class QWidget;

namespace korvane::ui {

class MessageBoxes;

// The message for a command ended by the exception.
Message CommandFailureMessage(std::exception_ptr failure);

// Runs the command. When it throws, the failure is written to standard error
// and shown (when there are message boxes); returns whether the command ran
// to its end.
bool RunGuarded(MessageBoxes* messages, QWidget* parent, const std::function<void()>& command);

// The program's application object: an exception that leaves the handling of
// an event ends only that event.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  MessageBoxes* messages = nullptr;

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace korvane::ui
