// korvane-cli rigorous: the weighted adjustment of a connecting traverse from
// its data file, with the tolerance check and the HTML report.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSize>
#include <QtGlobal>
#include <QString>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "core/message.h"
#include "render/sketch_renderer.h"
#include "rigorous/rigorous_adjustment.h"
#include "rigorous/rigorous_data_file.h"
#include "rigorous/rigorous_report.h"
#include "rigorous/rigorous_sketch.h"
#include "rigorous/tolerance.h"

namespace korvane::cli {
namespace {

constexpr const char* kUsage =
    "rigorous --data FILE.dat [--check] [--standard 城市测量规范|工程测量规范|水工测量规范] "
    "[--grade 三等|四等|五等|一级|二级|三级|图根] [--continue] [--html OUT.html]";

struct RigorousOptions {
  std::string data;
  bool check = false;
  std::string standard = kInitialStandard;
  std::string grade = kInitialGrade;
  bool gradeGiven = false;
  bool standardGiven = false;
  bool answerOk = false;
  bool html = false;
  std::string htmlPath;
};

int UsageError(const std::string& why) {
  std::cerr << "korvane-cli rigorous: " << why << "\nusage: korvane-cli " << kUsage << "\n";
  return 1;
}

bool Contains(const std::vector<std::string>& items, const std::string& item) {
  for (const std::string& each : items) {
    if (each == item) return true;
  }
  return false;
}

// Returns an empty text when the arguments are usable, otherwise the reason.
std::string ParseOptions(const std::vector<std::string>& args, RigorousOptions& opt) {
  static const std::vector<std::string> grades = {"三等", "四等", "五等", "一级", "二级", "三级", "图根"};
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    auto value = [&](std::string& target) {
      if (k + 1 >= args.size()) return false;
      target = args[++k];
      return true;
    };
    if (arg == "--data") {
      if (!value(opt.data)) return "--data needs a file";
    } else if (arg == "--check") {
      opt.check = true;
    } else if (arg == "--continue") {
      opt.answerOk = true;
    } else if (arg == "--standard") {
      if (!value(opt.standard)) return "--standard needs a value";
      if (!Contains(Standards(), opt.standard)) return "unknown standard '" + opt.standard + "'";
      opt.standardGiven = true;
    } else if (arg == "--grade") {
      if (!value(opt.grade)) return "--grade needs a value";
      if (!Contains(grades, opt.grade)) return "unknown grade '" + opt.grade + "'";
      opt.gradeGiven = true;
    } else if (arg == "--html") {
      if (!value(opt.htmlPath)) return "--html needs a file";
      opt.html = true;
    } else {
      return "unknown argument '" + arg + "'";
    }
  }
  if (opt.data.empty()) return "--data is required";
  if (opt.html && opt.htmlPath.empty()) return "--html needs a file";
  // Picking a standard refills the grade list and sets its text, as the
  // window does; an explicit grade is then chosen from it.
  if (opt.standardGiven && !opt.gradeGiven) opt.grade = GradesForStandard(opt.standard).text;
  return {};
}

int Refuse(const Message& message) {
  std::cerr << message.title << ": " << message.text << "\n";
  return 2;
}

// Qt's own diagnostics (runtime folders, fonts) are no business of the
// report's reader; only critical ones reach standard error.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << "\n";
}

// The renderer draws text, which needs a GUI application object; the batch
// program has no screen, so it uses the offscreen platform unless told otherwise.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  qInstallMessageHandler(QuietQtMessages);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "korvane-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

int RunRigorous(const std::vector<std::string>& args) {
  RigorousOptions opt;
  if (std::string why = ParseOptions(args, opt); !why.empty()) return UsageError(why);

  std::string error;
  RigorousFileLoad load = LoadRigorousFile(opt.data, error);
  if (!error.empty()) {
    std::cerr << "korvane-cli rigorous: " << error << "\n";
    return 1;
  }
  if (load.refusal) return Refuse(*load.refusal);
  if (!load.notice.empty()) std::cerr << load.notice << "\n";

  const AskOkCancel ask = [&](const Message&) { return opt.answerOk; };
  const RigorousOutcome outcome = AdjustRigorous(load.table, load.params, ask);
  if (!outcome.ok()) return Refuse(*outcome.refusal);

  const ToleranceRow& row = SelectToleranceRow(ToleranceCode(opt.standard, opt.grade));
  const ToleranceLimits limits = DeriveLimits(row, outcome.result);
  const ToleranceMarks marks = CheckTolerance(row, limits, outcome.result, opt.check);

  if (!opt.html) {
    // Printed, the report is UTF-8 and names the picture it would sit beside.
    RigorousReportInput input{load.table, load.params, outcome.result, row, limits, marks, opt.check, "1.bmp", "utf-8"};
    for (const std::string& line : RigorousReportLines(input)) std::cout << line << "\n";
    std::cout.flush();
    return 0;
  }

  const std::string path = ReportFileName(opt.htmlPath);
  if (IsReadOnlyFile(path)) return Refuse(ReadOnlyReportMessage());
  // The picture the report shows, beside it under the report's name. It is
  // written first, so that a report never refers to a picture older than itself.
  const std::string imagePath = ReportImagePath(path);
  auto app = EnsureGuiApplication();
  if (!SaveSketchImage(RigorousSketch(load.table, outcome.result), QString::fromStdString(imagePath),
                       QSize(kRigorousSketchWidth, kRigorousSketchHeight))) {
    std::cerr << "korvane-cli rigorous: cannot write the picture " << imagePath << "\n";
    return 1;
  }
  RigorousReportInput input{load.table, load.params, outcome.result, row, limits, marks, opt.check,
                            ReportImageName(path)};
  const ReportWrite write = WriteRigorousReport(path, RigorousReportLines(input));
  if (write.refusal) return Refuse(*write.refusal);
  if (!write.error.empty()) {
    std::cerr << "korvane-cli rigorous: " << write.error << "\n";
    return 1;
  }
  return 0;
}

const CommandRegistration kRegistration("rigorous", kUsage, RunRigorous);

}  // namespace
}  // namespace korvane::cli
