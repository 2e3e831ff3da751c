// korvane-cli geodetic and calc run as a user runs them, from the case table.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "data_table.h"

namespace {

namespace fs = std::filesystem;
using korvane::testing::DataRow;
using korvane::testing::ReadDataTable;

struct CliRun {
  int status = -1;
  std::string out, err;
};

// Each token in single quotes, so that "*" and "1/x" reach the program as typed.
std::string Quoted(const std::string& args) {
  std::istringstream in(args);
  std::string line;
  for (std::string token; in >> token;) line += " '" + token + "'";
  return line;
}

CliRun RunCli(const std::string& args) {
  const fs::path err = fs::temp_directory_path() / ("korvane_tools_cli_" + std::to_string(::getpid()) + ".txt");
  const std::string command = std::string("\"") + KORVANE_CLI + "\"" + Quoted(args) + " 2>\"" + err.string() + "\"";
  CliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, n);
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(err);
  std::stringstream s;
  s << in.rdbuf();
  run.err = s.str();
  fs::remove(err);
  return run;
}

std::string JoinedLines(const std::string& out) {
  std::string joined, line;
  std::istringstream in(out);
  while (std::getline(in, line)) joined += line + " | ";
  if (joined.size() >= 3) joined.resize(joined.size() - 3);
  return joined;
}

TEST(ToolsCli, RunsTheTableOfCommands) {
  for (const DataRow& row : ReadDataTable("tools_cli.txt", ';')) {
    SCOPED_TRACE(row["group"] + ": " + row["args"] + " (line " + std::to_string(row.line) + ")");
    const CliRun run = RunCli(row["args"]);
    EXPECT_EQ(run.status, std::stoi(row["exit"]));
    if (row["stdout"] == "*")
      EXPECT_NE(run.out.find("--help"), std::string::npos) << run.out;
    else
      EXPECT_EQ(korvane::testing::TrimField(JoinedLines(run.out)), row["stdout"]);
    if (row["stderr"].empty())
      EXPECT_EQ(run.err, "");
    else
      EXPECT_NE(run.err.find(row["stderr"]), std::string::npos) << run.err;
  }
}

}  // namespace
