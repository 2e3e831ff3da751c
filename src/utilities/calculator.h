#pragma once
// The pocket calculator: immediate-execution arithmetic (strictly left to
// right), unary and hyperbolic functions, y-th root and logarithm to a base,
// factorial, π, undo, and a store of up to 500 values with its statistics.
// Every key press returns the display and, when the press was refused or
// overflowed, the message to show.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"

namespace korvane::utilities {

struct KeyOutcome {
  std::string display;
  std::optional<Message> message;
};

class Calculator {
 public:
  static constexpr int kStoreSize = 500;
  // Characters an operand can hold; further digits and signs are ignored, so
  // that no key sequence makes a press cost more than a short copy.
  static constexpr std::size_t kOperandLength = 100;

  // The keys are the button captions: "0"–"9", ".", "neg", "+", "-", "*",
  // "/", "=", "Sin", "Cos", "Tan", "Atn", "1/x", "sqrt", "sqr", "10^x",
  // "e^x", "Ln", "Log10", "n!", "PI", "ArcSin", "ArcCos", "Cot", "ArcCot",
  // "Sh", "ArcSh", "Ch", "ArcCh", "cbrt", "logy", "yroot", "Th", "ArcTh",
  // "Cth", "ArcCth", "Data", "N", "Sum", "Mean", "SumSq", "SD", "SD1",
  // "undo", "clear", "deg", "rad", and "dms2deg" (度分秒→度) and "deg2dms"
  // (度→度分秒), which turn the displayed value between DMS notation and
  // decimal degrees.
  static bool IsKey(std::string_view key);

  // Presses one key; an unknown key changes nothing.
  KeyOutcome press(std::string_view key);

  const std::string& display() const { return display_; }
  bool degrees() const { return degrees_; }
  void setDegrees(bool on) { degrees_ = on; }
  int storedCount() const { return static_cast<int>(store_.size()); }

 private:
  enum class Pending { None, Add, Subtract, Multiply, Divide, Root, Log };

  void enterCharacter(char c);
  void negate();
  std::optional<Message> operatorKey(Pending op);
  std::optional<Message> evaluate();
  std::optional<Message> unary(std::string_view key);
  std::optional<Message> startTwoOperand(Pending op);
  std::optional<Message> factorial();
  std::optional<Message> storeValue();
  std::optional<Message> statistic(std::string_view key);
  void enterValue(const std::string& text);
  void undo();
  void clear();
  // Shows a result: checks it for overflow and domain, then makes it the first operand.
  std::optional<Message> showResult(double value);
  std::optional<Message> refuse(Message message);
  bool displayHoldsOperator() const;
  std::string& operand();
  void refreshDisplay();
  static const char* Sign(Pending op);

  std::string firstnum_;
  std::string secondnum_;
  std::string flags_;
  std::string display_;
  Pending pending_ = Pending::None;
  std::vector<double> store_;
  bool statisticShown_ = false;
  bool degrees_ = false;
};

// Presses the keys in order; a token of several digits is pressed digit by
// digit. Returns the messages shown on the way.
std::vector<Message> PressKeys(Calculator& calculator, const std::vector<std::string>& keys);

// True for a key token: a known key or a run of digits.
bool IsKeyToken(std::string_view token);

}  // namespace korvane::utilities
