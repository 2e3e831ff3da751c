// The main window with a large traverse: opening the data file into the
// observation grid, computing it into the results pane, and the longest
// single stretch the event loop is held while the surveyor scrolls the grid
// and the pane to their ends. Each kind's files come from make_traverse.py
// (run by window_bench.sh); the window runs on the offscreen platform.
//
// usage: window_bench DATA_FOLDER [benchmark options]
//   DATA_FOLDER holds F.dat F.ini B.dat B.ini Z.dat Z.ini W.dat W.ini
#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QTableWidget>
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <deque>
#include <memory>

#include "formats/start_data.h"
#include "formats/traverse_kind.h"
#include "ui/traverse/main_window.h"
#include "ui/traverse/observation_grid.h"
#include "ui/traverse/start_dialog.h"
#include "ui/shell/user_prompts.h"

using namespace korvane::formats;
using namespace korvane::ui;

namespace {

QString g_dataFolder;

class SilentMessages : public korvane::ui::MessageBoxes {
 public:
  void inform(QWidget*, const korvane::Message& message) override { last = message.text; }
  bool askOkCancel(QWidget*, const korvane::Message&) override { return true; }
  bool askYesNo(QWidget*, const korvane::Message&, bool defaultYes) override { return defaultYes; }
  korvane::ui::Answer askYesNoCancel(QWidget*, const korvane::Message&) override { return korvane::ui::Answer::No; }
  void about(QWidget*, const QString&, const QString&) override {}
  std::string last;
};

class OneFile : public korvane::ui::FileDialogs {
 public:
  QString openFile(QWidget*, const korvane::ui::FileDialogRequest&) override { return path; }
  QString saveFile(QWidget*, const korvane::ui::FileDialogRequest&) override { return {}; }
  QString path;
};

// A shown main window whose start data for the kind are confirmed.
struct Window {
  QTemporaryDir dataDir, programDir;
  SilentMessages messages;
  OneFile files;
  std::unique_ptr<korvane::ui::MainWindow> window;

  Window(korvane::formats::TraverseKind kind, const QString& code) {
    korvane::ui::MainWindowEnvironment env;
    env.messages = &messages;
    env.files = &files;
    env.dataDir = dataDir.path();
    env.programDir = programDir.path();
    env.endProgram = [] {};
    window = std::make_unique<korvane::ui::MainWindow>(env);
    window->startUp();
    window->show();
    QFile::remove(window->startFilePath());
    QFile::copy(g_dataFolder + "/" + code + ".ini", window->startFilePath());
    QFile(window->startFilePath()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    window->selectKind(kind);
    window->openStartDialog();
    // The connecting traverse's file holds the end azimuth, not a fourth point.
    if (kind == korvane::formats::TraverseKind::Connecting) {
      window->startDialog()->findChild<QRadioButton*>("Option_df")->click();
    }
    window->startDialog()->reloadLast();
    window->startDialog()->confirm();
    files.path = g_dataFolder + "/" + code + ".dat";
  }
  ~Window() { window->back(); }
};

void Settle() { QCoreApplication::processEvents(); }

// The longest time the event loop is held by one step of scrolling the view
// to its end and painting it.
double LongestScrollStep(QAbstractScrollArea* view) {
  double longest = 0;
  QScrollBar* bar = view->verticalScrollBar();
  for (int value : {bar->maximum() / 2, bar->maximum(), 0}) {
    const auto t0 = std::chrono::steady_clock::now();
    bar->setValue(value);
    view->viewport()->repaint();
    Settle();
    longest = std::max(longest, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return longest;
}

double SecondsSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The processor time of this process so far: on a machine shared with other
// work the wall time says less than this does.
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Wall time of 打开数据 and of 计算, each up to the window having painted
// its new state, and the longest scroll step of the grid and the pane.
void OpenAndCompute(benchmark::State& state, korvane::formats::TraverseKind kind, const char* code) {
  Window w(kind, code);
  double open = 0, compute = 0, openCpu = 0, computeCpu = 0, scrollGrid = 0, scrollPane = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    double c0 = CpuSeconds();
    w.window->openData();
    w.window->repaint();
    Settle();
    const double opened = SecondsSince(t0);
    openCpu += CpuSeconds() - c0;
    scrollGrid = std::max(scrollGrid, LongestScrollStep(w.window->observationGrid().grid()));
    t0 = std::chrono::steady_clock::now();
    c0 = CpuSeconds();
    w.window->compute();
    w.window->repaint();
    Settle();
    const double computed = SecondsSince(t0);
    computeCpu += CpuSeconds() - c0;
    auto* pane = w.window->findChild<QPlainTextEdit*>("RichTextBox1");
    if (!pane || pane->toPlainText().isEmpty()) {
      state.SkipWithError(("nothing computed: " + w.messages.last).c_str());
      break;
    }
    scrollPane = std::max(scrollPane, LongestScrollStep(pane));
    w.window->back();
    Settle();
    state.SetIterationTime(opened + computed);
    open += opened;
    compute += computed;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["stations"] = w.window->observationGrid().rows() - 1;
  state.counters["open_ms"] = open / n * 1000;
  state.counters["compute_ms"] = compute / n * 1000;
  state.counters["open_cpu_ms"] = openCpu / n * 1000;
  state.counters["compute_cpu_ms"] = computeCpu / n * 1000;
  state.counters["grid_scroll_ms"] = scrollGrid * 1000;
  state.counters["pane_scroll_ms"] = scrollPane * 1000;
}

}  // namespace

BENCHMARK_CAPTURE(OpenAndCompute, connecting, korvane::formats::TraverseKind::Connecting, "F")
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK_CAPTURE(OpenAndCompute, closed, korvane::formats::TraverseKind::Closed, "B")
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK_CAPTURE(OpenAndCompute, open, korvane::formats::TraverseKind::Open, "Z")
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK_CAPTURE(OpenAndCompute, no_orientation, korvane::formats::TraverseKind::NoOrientation, "W")
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: window_bench DATA_FOLDER [benchmark options]\n", stderr);
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  g_dataFolder = QString::fromLocal8Bit(argv[1]);
  argv[1] = argv[0];
  --argc;
  ++argv;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
