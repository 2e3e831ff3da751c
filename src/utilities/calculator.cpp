#include "utilities/calculator.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/angles.h"
#include "core/numbers.h"
#include "core/text_utils.h"

namespace korvane::utilities {
namespace {

constexpr const char* kDataError = "数据错误警告";
constexpr const char* kOperationError = "操作错误警告！";
constexpr const char* kOverflowTitle = "数据溢出";

constexpr std::array kKeys = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "neg", "+", "-", "*", "/", "=",
    "Sin", "Cos", "Tan", "Atn", "1/x", "sqrt", "sqr", "10^x", "e^x", "Ln", "Log10", "n!", "PI",
    "ArcSin", "ArcCos", "Cot", "ArcCot", "Sh", "ArcSh", "Ch", "ArcCh", "cbrt", "logy", "yroot",
    "Th", "ArcTh", "Cth", "ArcCth", "Data", "N", "Sum", "Mean", "SumSq", "SD", "SD1", "undo",
    "clear", "deg", "rad", "dms2deg", "deg2dms"};

Message DataError(const char* text) { return {text, kDataError, MessageIcon::Warning}; }
Message OperationError(const char* text) { return {text, kOperationError, MessageIcon::Warning}; }
Message OutOfRange() { return OperationError("自变量越界！"); }
Message Meaningless() { return OperationError("函数无意义！"); }
Message PressEqualsFirst() { return OperationError("请先按“=”得到结果，再按此按钮！"); }

// A function value or the reason it has none.
struct Value {
  double value = 0;
  std::optional<Message> refusal;
};

Value Refused(Message m) { return Value{0, std::move(m)}; }

double ArcSine(double x) {
  if (x == 1) return kGeodeticPi / 2;
  if (x == -1) return -kGeodeticPi / 2;
  return std::atan(x / std::sqrt(1 - x * x));
}

Value Trigonometric(std::string_view key, double x, bool degrees) {
  // Degrees convert with the full-precision π, so that 30° gives a sine of 0.5.
  const double r = degrees ? DegreesToRadians(x) : x;
  if (key == "Sin") return {std::sin(r)};
  if (key == "Cos") return {std::cos(r)};
  if (key == "Tan") return {std::tan(r)};
  // Cot follows the angle mode as Tan does.
  if (std::tan(r) == 0) return Refused(Meaningless());
  return {1 / std::tan(r)};
}

Value Elementary(std::string_view key, double x) {
  if (key == "Atn") return {std::atan(x)};
  if (key == "1/x") return x == 0 ? Refused(DataError("除数不能为零！")) : Value{1 / x};
  if (key == "sqrt") return x < 0 ? Refused(DataError("开平方自变量应大于等于零!")) : Value{std::sqrt(x)};
  if (key == "sqr") return {x * x};
  if (key == "10^x") return {std::pow(10.0, x)};
  if (key == "e^x") return {std::exp(x)};
  if (x <= 0) return Refused(DataError("对数函数自变量应大于零!"));
  return {key == "Ln" ? std::log(x) : std::log(x) / std::log(10.0)};
}

Value Inverse(std::string_view key, double x) {
  if (key == "ArcSin" || key == "ArcCos") {
    if (std::fabs(x) > 1) return Refused(OutOfRange());
    return {key == "ArcSin" ? ArcSine(x) : kGeodeticPi / 2 - ArcSine(x)};
  }
  if (key == "ArcCot") return {x == 0 ? kGeodeticPi / 2 : std::atan(1 / x)};
  if (key == "ArcSh") return {std::asinh(x)};
  if (key == "ArcCh") return x < 1 ? Refused(OutOfRange()) : Value{std::acosh(x)};
  if (key == "ArcTh") return std::fabs(x) >= 1 ? Refused(OutOfRange()) : Value{std::atanh(x)};
  // ArcCth: ln((x + 1)/(x − 1))/2 is the inverse hyperbolic tangent of 1/x.
  return std::fabs(x) <= 1 ? Refused(OutOfRange()) : Value{std::atanh(1 / x)};
}

Value Hyperbolic(std::string_view key, double x) {
  if (key == "Sh") return {std::sinh(x)};
  if (key == "Ch") return {std::cosh(x)};
  if (key == "Th") return {std::tanh(x)};
  if (key == "Cth") return x == 0 ? Refused(Meaningless()) : Value{1 / std::tanh(x)};
  return {std::cbrt(x)};  // cbrt: the real cube root, negative radicands included
}

// The two angle keys: an angle in DMS notation to decimal degrees and back.
Value AngleConversion(std::string_view key, double x) {
  if (key == "deg2dms") return {DegreesToDmsCarried(x)};
  if (!ValidDms(x)) return Refused(DataError("分或秒不应大于59！"));
  return {DmsToDegrees(x)};
}

bool IsAngleConversion(std::string_view key) { return key == "dms2deg" || key == "deg2dms"; }

Value UnaryValue(std::string_view key, double x, bool degrees) {
  if (key == "Sin" || key == "Cos" || key == "Tan" || key == "Cot") return Trigonometric(key, x, degrees);
  if (IsAngleConversion(key)) return AngleConversion(key, x);
  if (key.rfind("Arc", 0) == 0) return Inverse(key, x);
  if (key == "Sh" || key == "Ch" || key == "Th" || key == "Cth" || key == "cbrt") return Hyperbolic(key, x);
  return Elementary(key, x);
}

bool IsUnary(std::string_view key) {
  static constexpr std::array kUnary = {"Sin",   "Cos",    "Tan",    "Atn", "1/x",    "sqrt",
                                        "sqr",   "10^x",   "e^x",    "Ln",  "Log10",  "ArcSin",
                                        "ArcCos", "Cot",   "ArcCot", "Sh",  "ArcSh",  "Ch",
                                        "ArcCh", "cbrt",   "Th",     "ArcTh", "Cth",  "ArcCth",
                                        "dms2deg", "deg2dms"};
  return std::find(kUnary.begin(), kUnary.end(), key) != kUnary.end();
}

bool IsStatistic(std::string_view key) {
  return key == "N" || key == "Sum" || key == "Mean" || key == "SumSq" || key == "SD" || key == "SD1";
}

// The real y-th root; a negative radicand has one for an odd whole degree only.
Value Root(double a, double b) {
  if (b == 0) return Refused(DataError("不能开零次方！"));
  if (a < 0 && std::floor(b) == b) {
    if (std::fmod(b, 2.0) == 0) return Refused(DataError("负数不能开偶次方！"));
    return {-std::pow(-a, 1 / b)};
  }
  return {std::pow(a, 1 / b)};
}

}  // namespace

bool Calculator::IsKey(std::string_view key) {
  return std::find(kKeys.begin(), kKeys.end(), key) != kKeys.end();
}

const char* Calculator::Sign(Pending op) {
  switch (op) {
    case Pending::Add: return "+";
    case Pending::Subtract: return "-";
    case Pending::Multiply: return "*";
    case Pending::Divide: return "/";
    case Pending::Root: return "^1/";
    case Pending::Log: return "log";
    case Pending::None: break;
  }
  return "";
}

KeyOutcome Calculator::press(std::string_view key) {
  std::optional<Message> message;
  if (key.size() == 1 && ((key[0] >= '0' && key[0] <= '9') || key[0] == '.')) enterCharacter(key[0]);
  else if (key == "neg") negate();
  else if (key == "+") message = operatorKey(Pending::Add);
  else if (key == "-") message = operatorKey(Pending::Subtract);
  else if (key == "*") message = operatorKey(Pending::Multiply);
  else if (key == "/") message = operatorKey(Pending::Divide);
  else if (key == "=") message = evaluate();
  else if (key == "yroot") message = startTwoOperand(Pending::Root);
  else if (key == "logy") message = startTwoOperand(Pending::Log);
  else if (IsUnary(key)) message = unary(key);
  else if (key == "n!") message = factorial();
  else if (key == "PI") enterValue(kGeodeticPiText);
  else if (key == "Data") message = storeValue();
  else if (IsStatistic(key)) message = statistic(key);
  else if (key == "undo") undo();
  else if (key == "clear") clear();
  else if (key == "deg") degrees_ = true;
  else if (key == "rad") degrees_ = false;
  return KeyOutcome{display_, message};
}

std::string& Calculator::operand() { return pending_ == Pending::None ? firstnum_ : secondnum_; }

void Calculator::refreshDisplay() { display_ = pending_ == Pending::None ? firstnum_ : flags_ + secondnum_; }

void Calculator::enterCharacter(char c) {
  if (operand().size() >= kOperandLength) return;
  operand().push_back(c);
  refreshDisplay();
}

void Calculator::negate() {
  if (operand().size() >= kOperandLength) return;
  operand().insert(0, 1, '-');
  refreshDisplay();
}

void Calculator::enterValue(const std::string& text) {
  operand() = text;
  refreshDisplay();
}

void Calculator::clear() {
  firstnum_.clear();
  secondnum_.clear();
  flags_.clear();
  display_.clear();
  pending_ = Pending::None;
}

std::optional<Message> Calculator::refuse(Message message) {
  clear();
  return message;
}

std::optional<Message> Calculator::showResult(double value) {
  if (std::isnan(value)) return refuse(OutOfRange());
  if (std::isinf(value)) return refuse(Message{"计算结果溢出！", kOverflowTitle, MessageIcon::Warning});
  clear();
  display_ = NumberText(value);
  firstnum_ = display_;
  return std::nullopt;
}

// An operator sign in the display; the sign of an exponent ("1E-05") is none.
bool Calculator::displayHoldsOperator() const {
  if (pending_ != Pending::None) return true;
  for (std::size_t i = 0; i < display_.size(); ++i) {
    const char c = display_[i];
    if (c == '*' || c == '/') return true;
    if ((c == '+' || c == '-') && i > 0 && display_[i - 1] != 'E' && display_[i - 1] != 'e') return true;
  }
  return false;
}

std::optional<Message> Calculator::evaluate() {
  if (pending_ == Pending::None) return std::nullopt;
  const double a = ParseLenient(firstnum_);
  const double b = ParseLenient(secondnum_);
  Value v;
  switch (pending_) {
    case Pending::Add: v.value = a + b; break;
    case Pending::Subtract: v.value = a - b; break;
    case Pending::Multiply: v.value = a * b; break;
    case Pending::Divide: v = b == 0 ? Refused(DataError("除数不能为零！")) : Value{a / b}; break;
    case Pending::Root: v = Root(a, b); break;
    case Pending::Log:
      if (a <= 0 || a == 1 || b <= 0) v = Refused(DataError("数据不符合对数的定义！"));
      else v.value = std::log(b) / std::log(a);
      break;
    case Pending::None: break;
  }
  if (v.refusal) return refuse(*v.refusal);
  return showResult(v.value);
}

std::optional<Message> Calculator::operatorKey(Pending op) {
  if (pending_ != Pending::None)
    if (auto m = evaluate()) return m;
  pending_ = op;
  flags_ = firstnum_ + Sign(op);
  secondnum_.clear();
  display_ = flags_;
  return std::nullopt;
}

std::optional<Message> Calculator::startTwoOperand(Pending op) {
  if (display_.empty()) return OperationError("没有自变量！");
  return operatorKey(op);
}

std::optional<Message> Calculator::unary(std::string_view key) {
  if (display_.empty()) return OperationError("没有自变量！");
  // A pending arithmetic operation is worked out first; a pending root or
  // logarithm still waits for its second number, so the function takes the
  // first and the root or logarithm is dropped.
  if (pending_ != Pending::None && pending_ != Pending::Root && pending_ != Pending::Log)
    if (auto m = evaluate()) return m;
  const Value v = UnaryValue(key, ParseLenient(firstnum_), degrees_);
  // A value that is no angle in DMS notation stays shown, to be corrected.
  if (v.refusal && IsAngleConversion(key)) return v.refusal;
  if (v.refusal) return refuse(*v.refusal);
  return showResult(v.value);
}

std::optional<Message> Calculator::factorial() {
  if (display_.empty()) return OperationError("没有自变量！");
  if (displayHoldsOperator()) return PressEqualsFirst();
  const double x = ParseLenient(display_);
  // The value stays shown, to be corrected.
  if (x < 0 || std::floor(x) != x) return OperationError("计算阶乘时，自变量应为非负整数！");
  if (x > 170)
    return refuse(Message{"对不起，本计算器无法为如此大的数计算阶乘！", kOverflowTitle, MessageIcon::Warning});
  double product = 1;
  for (int i = 2; i <= static_cast<int>(x); ++i) product *= i;
  return showResult(product);
}

std::optional<Message> Calculator::storeValue() {
  if (display_.empty()) return OperationError("没有数据！");
  if (displayHoldsOperator()) return PressEqualsFirst();
  if (statisticShown_) {
    store_.clear();
    statisticShown_ = false;
  }
  if (store_.size() >= static_cast<std::size_t>(kStoreSize)) return OperationError("数据已满，最多 500 个！");
  store_.push_back(ParseLenient(display_));
  clear();
  return std::nullopt;
}

std::optional<Message> Calculator::statistic(std::string_view key) {
  if (store_.empty()) return refuse(DataError("无统计数据！"));
  const double n = static_cast<double>(store_.size());
  double sum = 0, sumSq = 0;
  for (double x : store_) {
    sum += x;
    sumSq += x * x;
  }
  const double mean = sum / n;
  double squares = 0;  // Σ(x − m)²
  for (double x : store_) squares += (x - mean) * (x - mean);
  double value = n;
  if (key == "Sum") value = sum;
  else if (key == "Mean") value = mean;
  else if (key == "SumSq") value = sumSq;
  else if (key == "SD") value = std::sqrt(squares / n);
  else if (key == "SD1") {
    if (store_.size() < 2) return refuse(DataError("除数不能为零！"));
    value = std::sqrt(squares / (n - 1));
  }
  if (std::isnan(value)) return refuse(OutOfRange());
  if (std::isinf(value)) return refuse(Message{"计算结果溢出！", kOverflowTitle, MessageIcon::Warning});
  statisticShown_ = true;
  enterValue(NumberText(value));
  return std::nullopt;
}

void Calculator::undo() {
  if (pending_ != Pending::None && secondnum_.empty()) {
    pending_ = Pending::None;
    flags_.clear();
    display_ = firstnum_;
    return;
  }
  if (!operand().empty()) operand().pop_back();
  refreshDisplay();
}

bool IsKeyToken(std::string_view token) { return Calculator::IsKey(token) || AllAsciiDigits(token); }

std::vector<Message> PressKeys(Calculator& calculator, const std::vector<std::string>& keys) {
  std::vector<Message> messages;
  auto pressOne = [&](std::string_view key) {
    if (auto m = calculator.press(key).message) messages.push_back(*m);
  };
  for (const std::string& key : keys) {
    if (AllAsciiDigits(key))
      for (char c : key) pressOne(std::string_view(&c, 1));
    else
      pressOne(key);
  }
  return messages;
}

}  // namespace korvane::utilities
