#include <gtest/gtest.h>

#include "core/message_text.h"
#include "io/read_only.h"
#include "io/text_file.h"
#include "formats/start_data.h"
#include "core/utf8.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <vector>

#include <cctype>
#include <cstdio>
#include <fstream>
#include "support/test_folder.h"

using namespace korvane;
using namespace korvane::formats;
using namespace korvane::io;

namespace {
const std::string kStationsUtf8 = "导线点K1";
const std::string kStationsGbk = "\xB5\xBC\xCF\xDF\xB5\xE3K1";  // the same in GBK
}  // namespace

TEST(TextEncoding, ReadsGbkAndUtf8) {
  EXPECT_EQ(korvane::io::DecodeText(kStationsGbk), kStationsUtf8);
  EXPECT_EQ(korvane::io::DecodeText(kStationsUtf8), kStationsUtf8);
  EXPECT_EQ(korvane::io::DecodeText("\xEF\xBB\xBF" + kStationsUtf8), kStationsUtf8);
  EXPECT_EQ(korvane::io::DecodeText("F,K9\r\n"), "F,K9\r\n");
}

TEST(TextEncoding, InvalidBytesBecomeVisible) {
  // A lone lead byte at the end must not vanish.
  EXPECT_EQ(korvane::io::DecodeText("AB\xB5"), "AB\xEF\xBF\xBD");
  EXPECT_EQ(korvane::io::DecodeText("\xB5\xBC\xFF" "C"), "导\xEF\xBF\xBD" "C");
}

TEST(TextEncoding, WritesGbkWithCrLf) {
  EXPECT_EQ(korvane::io::EncodeGbk(kStationsUtf8), kStationsGbk);
  EXPECT_EQ(korvane::io::EncodeGbk("€"), "\x80");  // GBK's euro sign
  EXPECT_EQ(korvane::io::EncodeGbk("a😀b"), "a?b");
  EXPECT_EQ(korvane::io::ToCrLf("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd");
}

TEST(TextFile, RoundTripsAndReplaces) {
  TestFolder folder;
  const std::string path = folder.file("out.txt");
  ASSERT_EQ(korvane::io::WriteTextFile(path, "第一行\n第二行\n"), "");
  EXPECT_EQ(folder.read("out.txt"), "\xB5\xDA\xD2\xBB\xD0\xD0\r\n\xB5\xDA\xB6\xFE\xD0\xD0\r\n");
  ASSERT_EQ(korvane::io::WriteTextFile(path, "new\n"), "");
  EXPECT_EQ(folder.read("out.txt"), "new\r\n");  // replaced, not appended
  const korvane::io::TextFileRead read = korvane::io::ReadTextFile(path);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(read.text, "new\r\n");
}

// The owner's write bit decides, even for the administrator; a folder or a
// missing file is not read-only.
TEST(TextFile, ReadOnlyMark) {
  TestFolder folder;
  const std::string path = folder.file("mark.dat");
  EXPECT_FALSE(korvane::io::IsReadOnlyFile(path));
  EXPECT_FALSE(korvane::io::SetReadOnlyFile(path, true));
  EXPECT_FALSE(korvane::io::IsReadOnlyFile(folder.file("")));
  folder.write("mark.dat", "x");
  EXPECT_FALSE(korvane::io::IsReadOnlyFile(path));
  ASSERT_TRUE(korvane::io::SetReadOnlyFile(path, true));
  EXPECT_TRUE(korvane::io::IsReadOnlyFile(path));
  ::chmod(path.c_str(), 0464);  // others of the group may write, the owner may not
  EXPECT_TRUE(korvane::io::IsReadOnlyFile(path));
  ASSERT_TRUE(korvane::io::SetReadOnlyFile(path, false));
  EXPECT_FALSE(korvane::io::IsReadOnlyFile(path));
  EXPECT_EQ(folder.read("mark.dat"), "x");
}

TEST(TextFile, ReportsWhatCannotBeDone) {
  TestFolder folder;
  const korvane::io::TextFileRead missing = korvane::io::ReadTextFile(folder.file("none.dat"));
  EXPECT_FALSE(missing.ok);
  EXPECT_FALSE(missing.error.empty());
  EXPECT_FALSE(korvane::io::WriteTextFile(folder.file("no/such/folder/x.txt"), "x").empty());
  EXPECT_FALSE(korvane::io::ReadTextFile(folder.file("")).ok);  // a folder, not a file
}

namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes, digits;
  for (char c : hex)
    if (std::isxdigit(static_cast<unsigned char>(c))) digits.push_back(c);
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    bytes.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  return bytes;
}

std::string ToHex(const std::string& bytes) {
  std::string hex;
  char buf[4];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02X ", c);
    hex += buf;
  }
  return hex;
}

}  // namespace

TEST(TextEncoding, DecodesTheListedBytes) {
  std::ifstream in(std::string(KORVANE_TEST_DATA) + "/decoding.txt");
  int cases = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const auto bar1 = line.find('|'), bar2 = line.find('|', bar1 + 1);
    const std::string bytes = FromHex(line.substr(0, bar1));
    const std::string expected = FromHex(line.substr(bar1 + 1, bar2 - bar1 - 1));
    const std::string text = korvane::io::DecodeText(bytes);
    EXPECT_EQ(ToHex(text), ToHex(expected)) << line;
    EXPECT_TRUE(IsStrictUtf8(text)) << line;
    EXPECT_EQ(korvane::io::DecodeOwnedText(std::string(bytes)), text) << line;
    ++cases;
  }
  EXPECT_GT(cases, 15);
}

TEST(TextEncoding, StartDataAreAlwaysGbk) {
  EXPECT_EQ(korvane::io::DecodeGbk("\xD2\xBB"), "一");
  EXPECT_EQ(korvane::io::DecodeGbk("\xE4\xB8\x80"), "涓€");  // the UTF-8 bytes of 一 read as GBK
}

TEST(TextFile, RemovesOnlyTemporaryFilesOfEndedProcesses) {
  TestFolder folder;
  // A process that has ended: its PID is free (until reused, which a test
  // run does not meet in practice).
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = std::to_string(child), alive = std::to_string(::getpid());
  const std::vector<std::string> removed = {".out.txt.korvane-tmp-" + dead + "-0", ".out.txt.korvane-tmp-" + dead + "-17"};
  const std::vector<std::string> kept = {".out.txt.korvane-tmp-" + alive + "-99",  // this process
                                         ".out.txt.korvane-tmp-1-3",               // init runs
                                         ".out.txt.korvane-tmp-" + dead + "-",     // not the pattern
                                         ".out.txt.korvane-tmp-" + dead + "-1x",
                                         ".out.txt.korvane-tmp-x" + dead + "-1",
                                         ".out.txt.korvane-tmp-99999999999999999999-1",
                                         ".other.txt.korvane-tmp-" + dead + "-1",  // another target
                                         ".out.txt.tmp" + dead};
  // Earlier versions' ".NAME.part<digits>" files: removed once nothing has
  // written them for ten minutes, kept while a write may still be going on.
  const std::vector<std::string> oldParts = {".out.txt.part12345", ".out.txt.part0"};
  const std::vector<std::string> keptParts = {".out.txt.part777",     // written just now
                                              ".out.txt.part12x",     // not the pattern
                                              ".out.txt.part",        // no number
                                              ".other.txt.part123"};  // another target
  for (const auto& name : removed) folder.write(name, "old");
  for (const auto& name : kept) folder.write(name, "old");
  for (const auto& name : keptParts) folder.write(name, "old");
  for (const auto& name : oldParts) folder.write(name, "old");
  const auto elevenMinutesAgo = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(11);
  for (const auto& name : oldParts) std::filesystem::last_write_time(folder.file(name), elevenMinutesAgo);
  std::filesystem::last_write_time(folder.file(".out.txt.part12x"), elevenMinutesAgo);
  std::filesystem::last_write_time(folder.file(".other.txt.part123"), elevenMinutesAgo);
  ASSERT_EQ(korvane::io::WriteTextFile(folder.file("out.txt"), "new\n"), "");
  for (const auto& name : oldParts) EXPECT_FALSE(std::filesystem::exists(folder.file(name))) << name;
  for (const auto& name : keptParts) EXPECT_TRUE(std::filesystem::exists(folder.file(name))) << name;
  for (const auto& name : removed) EXPECT_FALSE(std::filesystem::exists(folder.file(name))) << name;
  for (const auto& name : kept) EXPECT_TRUE(std::filesystem::exists(folder.file(name))) << name;
  EXPECT_EQ(folder.read("out.txt"), "new\r\n");
}

TEST(TextFile, ReadsOnlyRegularFilesWithinTheirBound) {
  TestFolder folder;
  const std::string pipe = folder.file("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {pipe, std::string("/dev/zero"), folder.file("")}) {
    const korvane::io::TextFileRead read = korvane::io::ReadTextFile(path);
    EXPECT_FALSE(read.ok) << path;
    EXPECT_NE(read.error.find(path), std::string::npos) << read.error;
  }
  std::string error;
  EXPECT_EQ(korvane::formats::ReadStartFile(pipe, &error).record(1), "");
  EXPECT_NE(error.find("不是普通文件"), std::string::npos);
  folder.write("small.txt", "12345");
  EXPECT_TRUE(korvane::io::ReadTextFile(folder.file("small.txt"), 5).ok);
  const korvane::io::TextFileRead large = korvane::io::ReadTextFile(folder.file("small.txt"), 4);
  EXPECT_FALSE(large.ok);
  EXPECT_NE(large.error.find("4字节"), std::string::npos);
}

// A message quotes at most 80 characters of a file, whole characters only,
// and no control character that would upset a terminal or the message's line.
TEST(MessageText, QuotesAreBounded) {
  const std::string eighty(80, 'x'), chinese80 = [] {
    std::string s;
    for (int i = 0; i < 80; ++i) s += "导";
    return s;
  }();
  const struct {
    std::string text, quoted;
  } rows[] = {
      {"", ""},
      {eighty, eighty},                                           // exactly the bound: kept
      {eighty + "y", std::string(79, 'x') + "…"},                 // one more: cut to 79 and "…"
      {chinese80, chinese80},                                     // counted in characters, not bytes
      {chinese80 + "线", chinese80.substr(0, 79 * 3) + "…"},
      {"a\x1B[2Jb\tc\x7F", "a?[2Jb?c?"},                          // an escape sequence is not passed on
      {"点\xF0\x9F\x98\x80", "点\xF0\x9F\x98\x80"},
  };
  for (const auto& row : rows) EXPECT_EQ(Quoted(row.text), row.quoted) << row.text;
}

TEST(MessageText, SystemErrorsAreChinese) {
  EXPECT_EQ(SystemErrorText(ENOENT), "没有那个文件或目录");
  EXPECT_EQ(SystemErrorText(EACCES), "权限不够");
  EXPECT_EQ(SystemErrorText(ENOSPC), "磁盘已满");
  EXPECT_EQ(ExceptionText(std::filesystem::filesystem_error("x", std::make_error_code(std::errc::permission_denied))),
            "权限不够");
  EXPECT_EQ(ExceptionText(std::bad_alloc()), "内存不足");
  EXPECT_EQ(ExceptionText(std::out_of_range("vector::_M_range_check")), "程序内部错误");
}
