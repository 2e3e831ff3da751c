#pragma once
// What a command tells the user: a refusal or a question is a value that the
// window shows in a message box and the batch program prints.
#include <functional>
#include <string>

namespace korvane {

enum class MessageIcon { Information, Warning, Question, Critical };

struct Message {
  std::string text;
  std::string title;
  MessageIcon icon = MessageIcon::Information;
  bool operator==(const Message&) const = default;
};

// Puts an OK/Cancel question to the user; true means OK (continue).
using AskOkCancel = std::function<bool(const Message& question)>;

}  // namespace korvane
