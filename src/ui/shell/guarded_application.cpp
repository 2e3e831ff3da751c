#include "ui/shell/guarded_application.h"

#include <cstdio>
#include <new>
#include <optional>
#include <string>

#include "core/message_text.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {

Message CommandFailureMessage(std::exception_ptr failure) {
  std::string text = "无法完成这一操作。已输入的数据保持不变。";
  try {
    if (failure) std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    text = "内存不足，无法完成这一操作。已输入的数据保持不变。";
  } catch (const std::exception& e) {
    text = "无法完成这一操作：" + ExceptionText(e) + "。已输入的数据保持不变。";
  } catch (...) {
  }
  return Message{text, "抱歉", MessageIcon::Warning};
}

bool RunGuarded(MessageBoxes* messages, QWidget* parent, const std::function<void()>& command) {
  std::optional<Message> failure;
  try {
    command();
  } catch (...) {
    failure = CommandFailureMessage(std::current_exception());
  }
  if (!failure) return true;
  // Shown once the exception is over: a message box runs an event loop.
  std::fprintf(stderr, "korvane: %s\n", failure->text.c_str());
  if (messages) messages->inform(parent, *failure);
  return false;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunGuarded(messages, nullptr, [&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace korvane::ui
