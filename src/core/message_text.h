#pragma once
// Pieces of the texts shown to the user: every message is Chinese, and a
// message that quotes a file quotes only a short piece of it.
#include <exception>
#include <string>
#include <string_view>

namespace korvane {

// Why a system call failed (its errno value), in Chinese.
std::string SystemErrorText(int error);

// Why a computation stopped on an exception of the standard library, in
// Chinese (the library's own texts are English).
std::string ExceptionText(const std::exception& failure);

// The most characters of a line, field or name of a file a message quotes.
inline constexpr int kMaxQuotedChars = 80;
// The piece of a file as a message quotes it: at most kMaxQuotedChars
// characters, a longer one cut to fewer and ended by "…"; control
// characters, which would upset the terminal or the message's line, become
// "?".
std::string Quoted(std::string_view text);

}  // namespace korvane
