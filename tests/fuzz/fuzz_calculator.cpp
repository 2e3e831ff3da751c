// The calculator: any sequence of key presses gives a short display text and
// at most one message a press. The input is read as key captions ("12 + 3 =",
// "30 Sin"): the longest caption at the position is pressed; a blank
// separates; any other byte presses the key its value picks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/utf8.h"
#include "fuzz_check.h"
#include "utilities/calculator.h"

using namespace korvane::utilities;

namespace {

using korvane::utilities::Calculator;

constexpr std::string_view kKeys[] = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "neg", "+", "-", "*", "/", "=",
    "Sin", "Cos", "Tan", "Atn", "1/x", "sqrt", "sqr", "10^x", "e^x", "Ln", "Log10", "n!", "PI",
    "ArcSin", "ArcCos", "Cot", "ArcCot", "Sh", "ArcSh", "Ch", "ArcCh", "cbrt", "logy", "yroot",
    "Th", "ArcTh", "Cth", "ArcCth", "Data", "N", "Sum", "Mean", "SumSq", "SD", "SD1", "undo",
    "clear", "deg", "rad"};
constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

// Two operands, an operator sign and room to spare.
constexpr std::size_t kMaxDisplay = 2 * Calculator::kOperandLength + 16;

// The longest caption the text starts with, or the key its first byte picks.
std::string_view KeyAt(std::string_view text) {
  std::string_view best;
  for (std::string_view key : kKeys)
    if (key[0] == text[0] && key.size() > best.size() && text.substr(0, key.size()) == key) best = key;
  return best.empty() ? kKeys[static_cast<unsigned char>(text[0]) % kKeyCount] : best;
}

bool HasNonNumber(const std::string& display) {
  for (std::string_view word : {"nan", "NaN", "inf", "Inf", "INF"})
    if (display.find(word) != std::string::npos) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Calculator calculator;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::size_t i = 0; i < size;) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const std::string_view key = KeyAt(text.substr(i));
    i += key.size() > 0 && text.substr(i, key.size()) == key ? key.size() : 1;
    FUZZ_CHECK(Calculator::IsKey(key));
    const korvane::utilities::KeyOutcome outcome = calculator.press(key);
    FUZZ_CHECK(outcome.display == calculator.display());
    FUZZ_CHECK(outcome.display.size() <= kMaxDisplay);
    FUZZ_CHECK(korvane::IsStrictUtf8(outcome.display));
    FUZZ_CHECK(!HasNonNumber(outcome.display));
    if (outcome.message) FUZZ_CHECK(!outcome.message->text.empty() && !outcome.message->title.empty());
    FUZZ_CHECK(calculator.storedCount() <= Calculator::kStoreSize);
  }
  return 0;
}
