#pragma once
// The main window (zhuchuangti): the simple-traverse page (kind selection,
// the hover commands, the observation grid and the results pane, the
// greeting) and the menu that opens every other window, and the way out
// through the goodbye window.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "formats/traverse_kind.h"
#include "traverse/simple_adjustment.h"
#include "ui/shell/window_shell.h"
#include "ui/traverse/simple_results.h"
#include "ui/traverse/traverse_commands.h"
#include "ui/traverse/traverse_files.h"
#include "ui/traverse/welcome_banner.h"

class QAction;
class QMenu;
class QVBoxLayout;
class QLabel;
class QPushButton;

namespace korvane::ui {

class FileDialogs;
class GoodbyeWindow;
class HoverLabel;
class KindOptions;
class MessageBoxes;
class ObservationGrid;
class PlotWindow;
class SingleInstance;
class StartDialog;

struct MainWindowEnvironment {
  MessageBoxes* messages = nullptr;
  FileDialogs* files = nullptr;
  QString programDir;
  QString dataDir;     // start-data file and its marker
  // Ends the program (a click in the goodbye window).
  std::function<void()> endProgram;
  // The single-instance lock, given up on the way out.
  SingleInstance* instance = nullptr;
  // The simple adjustment the window computes with; the engine when empty.
  std::function<traverse::SimpleResult(const traverse::SimpleInput&)> adjust;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(MainWindowEnvironment env);
  ~MainWindow() override;

  // The start-up sequence up to showing the window.
  void startUp();

  ObservationGrid& observationGrid() const { return *grid_; }
  StartDialog* startDialog() const { return dialog_; }
  PlotWindow* plotWindow() const;
  GoodbyeWindow* goodbyeWindow() const { return goodbye_; }
  // The tool windows, opened by the menu through the shell.
  WindowShell& shell() const { return *shell_; }
  QString startFilePath() const;
  formats::TraverseKind selectedKind() const;

  // The commands, as their buttons and menu entries run them.
  void selectKind(formats::TraverseKind kind);
  void openStartDialog();      // menu 输入起始数据
  void openData();             // 打开数据
  void compute();              // 计算 (js and js2)
  void saveResults();          // 保存文本
  // 打印… (the print preview) and 保存为PDF…: the results table and the sketch.
  void printResults(bool pdf);
  void exportDrawing();        // 导出DXF…
  void exportCoordinates();    // 导出坐标…
  // 保存数据: the observations as a traverse data file; true when written.
  bool saveData();
  // Whether the grid holds observations typed or changed since they were
  // last opened or saved.
  bool hasUnsavedRows() const;
  // Before the program ends: every table with unsaved observations (this
  // grid, the weighted window's table) is offered for saving. False when the
  // user stays.
  bool confirmLeaving();
  void back();                 // 返回
  void showHelp();             // 帮助
  void showAbout();            // 关于

  // Pointer movements of the hover mechanism.
  void hoverLabel(HoverLabel* label);
  void pointerOverBackground();

  // One tick of each timer.
  void tickWelcome();
  void tickCaption();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildWindow();
  void buildHeader(QWidget* central, QVBoxLayout* root);
  void connectCommands();
  void buildMenu();
  QMenu* addMenu(const char* name, const char* text);
  void buildAdjustmentMenus();
  void buildToolMenus();
  void buildTopEntries();
  void registerWindows();
  void handOver(formats::TraverseKind kind);
  // A new traverse: an empty grid, no title line, no end-point name from a file.
  void resetTraverse();
  void enterResultsState(QPushButton* used);
  // Offers this grid's unsaved observations for saving; false to stay.
  bool offerToSave();

  MainWindowEnvironment env_;
  ObservationGrid* grid_ = nullptr;
  StartDialog* dialog_ = nullptr;
  GoodbyeWindow* goodbye_ = nullptr;
  WindowShell* shell_ = nullptr;
  std::unique_ptr<WelcomeBanner> banner_;
  std::unique_ptr<TraverseFiles> files_;
  std::unique_ptr<SimpleResults> results_;
  std::unique_ptr<TraverseCommands> commands_;
  QLabel* titleLabel_ = nullptr;
  KindOptions* kinds_ = nullptr;
  QAction* startDataMenu_ = nullptr;
  // The kind whose start data were confirmed last; only it can be computed.
  std::optional<formats::TraverseKind> confirmedKind_;
  bool closing_ = false;
  // The window that led to the exit has asked about unsaved observations.
  bool leaveConfirmed_ = false;
};

}  // namespace korvane::ui
