#include "ui/traverse/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "formats/observation_check.h"
#include "formats/start_data.h"
#include "formats/traverse_file.h"
#include "io/read_only.h"
#include "traverse/simple_adjustment.h"
#include "ui/help/help_window.h"
#include "ui/levelling/levelling_window.h"
#include "ui/network/network_window.h"
#include "ui/shell/goodbye_window.h"
#include "ui/shell/guarded_application.h"
#include "ui/shell/platform.h"
#include "ui/shell/tool_windows.h"
#include "ui/shell/user_prompts.h"
#include "ui/traverse/kind_options.h"
#include "ui/traverse/observation_grid.h"
#include "ui/traverse/rigorous_window.h"
#include "ui/traverse/start_dialog.h"
#include "ui/utilities/splitter_window.h"
#include "ui/utilities/total_station_window.h"

namespace korvane::ui {

namespace {

bool UsesFirstCompute(formats::TraverseKind kind) {
  return kind == formats::TraverseKind::Connecting || kind == formats::TraverseKind::Closed;
}

Message KeepObservationsQuestion() {
  return Message{"表格中已有观测数据，是否保留？", "提示", MessageIcon::Question};
}

}  // namespace

MainWindow::MainWindow(MainWindowEnvironment env) : env_(std::move(env)) {
  setObjectName("zhuchuangti");
  setFont(UiFont(10));
  buildWindow();
  registerWindows();
  buildMenu();
  FitToScreen(this, {1180, 700});
  dialog_ = new StartDialog(this, *env_.messages, *env_.files, startFilePath());
  connect(dialog_, &StartDialog::handedOver, this, &MainWindow::handOver);
}

MainWindow::~MainWindow() {
  delete shell_;
  delete goodbye_;
}

QString MainWindow::startFilePath() const {
  return env_.dataDir + "/" + QString::fromUtf8(formats::kStartDataFileName);
}

PlotWindow* MainWindow::plotWindow() const { return results_->plotWindow(); }

void MainWindow::buildWindow() {
  auto* central = new QWidget(this);
  central->setObjectName("background");
  central->setMouseTracking(true);
  central->installEventFilter(this);
  setCentralWidget(central);

  auto* root = new QVBoxLayout(central);
  root->setContentsMargins(14, 8, 14, 12);
  buildHeader(central, root);
  auto* body = new QHBoxLayout;
  // The observation grid and, in the same place, the results pane.
  auto* views = new QGridLayout;
  grid_ = new ObservationGrid(central, *env_.messages);
  views->addWidget(grid_->grid(), 0, 0);
  files_ = std::make_unique<TraverseFiles>(*grid_, *env_.messages, *env_.files);
  results_ = std::make_unique<SimpleResults>(central, *env_.messages, *env_.files, files_->folder());
  views->addWidget(results_->pane(), 0, 0);
  body->addLayout(views, 1);
  commands_ = std::make_unique<TraverseCommands>(central, [this](HoverLabel* label) { hoverLabel(label); });
  body->addLayout(commands_->layout());
  root->addLayout(body, 1);
  connectCommands();
}

// The greeting, the title line, the kind options and the units line.
void MainWindow::buildHeader(QWidget* central, QVBoxLayout* root) {
  banner_ = std::make_unique<WelcomeBanner>(this);
  root->addWidget(banner_->label());

  titleLabel_ = new QLabel(central);
  titleLabel_->setObjectName("Label1");
  titleLabel_->setFont(UiFont(12));
  titleLabel_->setAlignment(Qt::AlignCenter);
  titleLabel_->setMinimumHeight(26);
  root->addWidget(titleLabel_);

  kinds_ = new KindOptions(central);
  connect(kinds_, &KindOptions::kindChosen, this, &MainWindow::selectKind);
  root->addWidget(kinds_);

  auto* units = new QLabel(
      QString::fromUtf8("角度单位为：度.分秒                    长度单位为：米"
                        "                    请输入观测数据："),
      central);
  units->setObjectName("Label11");
  root->addWidget(units);
}

void MainWindow::connectCommands() {
  TraverseCommands& c = *commands_;
  for (const HoverPair* p : {&c.compute, &c.computeOther}) {
    p->button->installEventFilter(this);
    connect(p->button, &QPushButton::clicked, this, &MainWindow::compute);
  }
  connect(c.saveText.button, &QPushButton::clicked, this, &MainWindow::saveResults);
  connect(c.output.print.button, &QPushButton::clicked, this, [this] { printResults(false); });
  connect(c.output.pdf.button, &QPushButton::clicked, this, [this] { printResults(true); });
  connect(c.output.dxf.button, &QPushButton::clicked, this, &MainWindow::exportDrawing);
  connect(c.output.coordinates.button, &QPushButton::clicked, this, &MainWindow::exportCoordinates);
  connect(c.saveData.button, &QPushButton::clicked, this, &MainWindow::saveData);
  connect(c.exit.button, &QPushButton::clicked, this, &MainWindow::close);
  connect(c.table.deleteRow.button, &QPushButton::clicked, this, [this] { grid_->deleteRow(); });
  connect(c.table.insertRow.button, &QPushButton::clicked, this, [this] { grid_->insertRow(); });
  connect(c.table.open.button, &QPushButton::clicked, this, &MainWindow::openData);
  connect(c.back.button, &QPushButton::clicked, this, &MainWindow::back);
}

namespace {

QAction* addEntry(QMenu* menu, const char* name, const char* text, bool enabled) {
  QAction* action = menu->addAction(QString::fromUtf8(text));
  action->setObjectName(name);
  action->setEnabled(enabled);
  return action;
}

}  // namespace

QMenu* MainWindow::addMenu(const char* name, const char* text) {
  QMenu* menu = menuBar()->addMenu(QString::fromUtf8(text));
  menu->setObjectName(name);
  return menu;
}

void MainWindow::buildMenu() {
  buildAdjustmentMenus();
  buildToolMenus();
  buildTopEntries();
}

// 导线严密平差, 水准网平差 and 转换计算.
void MainWindow::buildAdjustmentMenus() {
  // Entries whose window is not part of this program yet stay greyed.
  QMenu* rigorous = addMenu("m_dxyrpc", "导线严密平差");
  shell_->route(addEntry(rigorous, "m_dandx", "单导线加权平差", true), "rigorous", [this](QWidget* w) {
    // The sketch of a simple adjustment goes with the hidden main window.
    results_->closePlot();
    hide();
    static_cast<RigorousWindow*>(w)->showUp();
  });
  const std::pair<const char*, const char*> networkEntries[] = {{"m_jddx", "结点导线"}, {"m_dxw", "导线网"}};
  for (auto purpose : {NetworkWindow::Purpose::JunctionTraverse, NetworkWindow::Purpose::Network}) {
    const auto& [name, text] = networkEntries[purpose == NetworkWindow::Purpose::Network];
    shell_->route(addEntry(rigorous, name, text, true), "network",
                  [purpose](QWidget* w) { static_cast<NetworkWindow*>(w)->showFor(purpose); });
  }

  QMenu* levelling = addMenu("m_szwpc", "水准网平差");
  const char* const levellingEntries[][2] = {{"m_dyfhh", "单一附合环"}, {"m_dybhw", "单一闭合环"}, {"m_szjcw", "水准交叉网"}};
  for (int method = 0; method < 3; ++method)
    shell_->route(addEntry(levelling, levellingEntries[method][0], levellingEntries[method][1], true), "levelling",
                  [method](QWidget* w) {
                    static_cast<LevellingWindow*>(w)->setMethod(static_cast<formats::Method>(method));
                    BringUp(w);
                  });

  QMenu* conversion = addMenu("m_zhjs", "转换计算");
  QAction* geodetic = addEntry(conversion, "zs", "大地主题正算", true);
  geodetic->setShortcut(QKeySequence("Ctrl+D"));
  shell_->route(geodetic, "geodetic");
  QAction* gauss = addEntry(conversion, "m_zbhs", "世点坐标换算", true);
  gauss->setShortcut(QKeySequence("Ctrl+Z"));
  shell_->route(gauss, "gauss");
}

// 测量小工具, 改正计算 and 另类工具.
void MainWindow::buildToolMenus() {
  QMenu* tools = addMenu("m_clxgj", "测量小工具");
  shell_->route(addEntry(tools, "m_kxjsq", "科学计算器", true), "calculator");
  shell_->route(addEntry(tools, "m_qfjh", "前方交会", true), "intersection");
  shell_->route(addEntry(tools, "m_hfjh", "后方交会", true), "resection");
  addEntry(tools, "m_fypxcx", "放样偏心程序", false);
  addEntry(tools, "m_dlclcx", "道路测量程序", false);
  shell_->route(addEntry(tools, "m_gxgz", "归心改正", true), "centring");
  addEntry(tools, "m_gcwccdtd", "工程误差传递推导", false);
  shell_->route(addEntry(tools, "m_gcclcygf", "工程测量常用规范", true), "standards");

  QMenu* corrections = addMenu("m_gzjs", "改正计算");
  shell_->route(addEntry(corrections, "m_bctygz", "边长投影改正", true), "distanceReduction");
  shell_->route(addEntry(corrections, "m_zbtygz", "坐标投影改正", true), "gauss");
  shell_->route(addEntry(corrections, "m_dxgcjsgz", "单向高程计算改正", true), "oneWayHeight");

  QMenu* other = addMenu("m_lrgj", "另类工具");
  shell_->route(addEntry(other, "m_wjfg", "文件分割程序", true), "splitter",
                [](QWidget* w) { static_cast<SplitterWindow*>(w)->open(); });
}

// The entries directly on the menu bar.
void MainWindow::buildTopEntries() {
  QMenuBar* bar = menuBar();
  QAction* totalStation = bar->addAction(QString::fromUtf8("全站仪"));
  totalStation->setObjectName("m_qzy");
  shell_->route(totalStation, "totalStation", [this](QWidget* w) {
    hide();
    static_cast<TotalStationWindow*>(w)->open();
  });

  startDataMenu_ = bar->addAction(QString::fromUtf8("输入起始数据"));
  startDataMenu_->setObjectName("mune_qssj");
  connect(startDataMenu_, &QAction::triggered, this, &MainWindow::openStartDialog);

  QAction* about = bar->addAction(QString::fromUtf8("关于"));
  about->setObjectName("guyu");
  connect(about, &QAction::triggered, this, &MainWindow::showAbout);

  QAction* help = bar->addAction(QString::fromUtf8("帮助"));
  help->setObjectName("mune_help");
  connect(help, &QAction::triggered, this, &MainWindow::showHelp);
}

void MainWindow::registerWindows() {
  shell_ = new WindowShell(this);
  shell_->setExit({[this] { return confirmLeaving(); },
                   [this] { io::SetReadOnlyFile(startFilePath().toStdString(), true); }, env_.instance,
                   env_.endProgram});
  connect(shell_, &WindowShell::endThroughMainWindow, this, &MainWindow::close);
  RegisterToolWindows(*shell_, *env_.messages, *env_.files, this,
                      [this] { return leaveConfirmed_ = confirmLeaving(); });
}

void MainWindow::startUp() {
  CentreOnScreen(this, -350 * 96 / 1440);
  commands_->startUp();
  kinds_->check(formats::TraverseKind::Connecting);
  selectKind(formats::TraverseKind::Connecting);
  banner_->start();
  grid_->setUp();
  files_->markSaved();
  PrepareStartFile(env_.dataDir, startFilePath());
}

formats::TraverseKind MainWindow::selectedKind() const { return kinds_->selected(); }

void MainWindow::selectKind(formats::TraverseKind kind) {
  if (kinds_->selected() != kind) {
    kinds_->check(kind);  // runs this again through its toggle
    return;
  }
  dialog_->selectKind(kind);
  // Start data belong to the kind they were confirmed for: another kind
  // cannot be computed until its own start data are confirmed.
  if (!confirmedKind_ || !grid_->grid()->isVisibleTo(this)) return;
  if (kind == *confirmedKind_) {
    commands_->offerCompute(UsesFirstCompute(kind), false);
  } else {
    commands_->withdrawCompute(UsesFirstCompute(selectedKind()));
  }
}

void MainWindow::handOver(formats::TraverseKind kind) {
  // New start data: the observations already in the grid are kept only when
  // the surveyor says so.
  if (HoldsObservations(grid_->table())) {
    if (!env_.messages->askYesNo(dialog_, KeepObservationsQuestion(), true)) resetTraverse();
  } else {
    resetTraverse();
  }
  confirmedKind_ = kind;
  kinds_->check(kind);
  kinds_->allowOnly(kind);
  commands_->offerCompute(UsesFirstCompute(kind), true);
  commands_->offerOpening();
  // Typing starts at the first station's name once the dialog has gone.
  grid_->setCurrentCell(1, 1);
  grid_->grid()->setFocus(Qt::OtherFocusReason);
  QTimer::singleShot(0, this, [this] {
    if (!isVisible() || !grid_->grid()->isVisible()) return;
    activateWindow();
    grid_->grid()->setFocus(Qt::OtherFocusReason);
  });
}

void MainWindow::openStartDialog() {
  kinds_->setUsable(true);
  dialog_->open(selectedKind());
}

void MainWindow::resetTraverse() {
  grid_->reset();
  titleLabel_->clear();
  files_->forgetFile();
}

bool MainWindow::hasUnsavedRows() const { return files_->hasUnsavedRows(); }

bool MainWindow::offerToSave() {
  grid_->editor().commitAndClose();
  if (!hasUnsavedRows()) return true;
  return SaveBeforeLeaving(*env_.messages, this, [this] { return saveData(); });
}

bool MainWindow::confirmLeaving() {
  auto* rigorous = shell_->window<RigorousWindow>("rigorous");
  if (rigorous && !rigorous->offerToSave()) return false;
  return offerToSave();
}

void MainWindow::openData() {
  if (!offerToSave()) return;
  if (const std::optional<QString> title = files_->open(this, selectedKind())) titleLabel_->setText(*title);
}

bool MainWindow::saveData() { return files_->save(this, selectedKind()); }

void MainWindow::compute() {
  traverse::SimpleInput input;
  input.kind = selectedKind();
  // Blank rows at the end (a row opened by moving on past the last cell)
  // are no stations.
  input.table = WithoutBlankTrailingRows(grid_->table());
  input.start = formats::ReadStartFile(startFilePath().toStdString());
  if (!files_->endName().isEmpty()) input.endName = files_->endName().toStdString();
  input.withPoints = true;
  results_->forgetFigure();
  if (!confirmedKind_ || input.kind != *confirmedKind_) return;
  // A computation that fails (memory running out above all) ends with a
  // message and leaves the window as it was, the grid with its data.
  traverse::SimpleResult result;
  const bool ran = RunGuarded(env_.messages, this, [&] {
    BusyCursor busy;
    result = env_.adjust ? env_.adjust(input) : AdjustTraverse(input);
    if (result.tableAccepted) results_->showTable(result);
  });
  if (!ran) return;
  // Printed with the table; none for a table stopped part way.
  results_->keepSketch(result.sketch);
  auto* used = qobject_cast<QPushButton*>(sender());
  if (!used) used = commands_->computeFor(UsesFirstCompute(input.kind)).button;
  if (!result.ok()) {
    // A table stopped part way is shown, so that the surveyor sees where it
    // stopped and what 保存文本 would save.
    if (result.tableAccepted && !result.lines.empty()) enterResultsState(used);
    if (const auto cell = formats::CellNamedBy(result.refusal->text)) grid_->setCurrentCell(cell->row, cell->column);
    env_.messages->inform(this, *result.refusal);
    return;
  }
  results_->showAdjusted(result, input.kind);
  enterResultsState(used);
}

void MainWindow::enterResultsState(QPushButton* used) {
  kinds_->setUsable(false);
  commands_->enterResults(used);
  startDataMenu_->setEnabled(false);
  grid_->grid()->hide();
  results_->pane()->show();
}

void MainWindow::back() {
  results_->closePlot();
  results_->pane()->hide();
  grid_->grid()->show();
  commands_->leaveResults();
  startDataMenu_->setEnabled(true);
  kinds_->setUsable(true);
  results_->clear();
  commands_->offerCompute(UsesFirstCompute(selectedKind()), false);
}

void MainWindow::saveResults() { results_->save(); }
void MainWindow::printResults(bool pdf) { results_->print(pdf); }
void MainWindow::exportDrawing() { results_->exportDrawing(); }
void MainWindow::exportCoordinates() { results_->exportCoordinates(); }

void MainWindow::showHelp() {
  // The manual is part of the program; only a build without it has none.
  if (!HelpDocumentAvailable()) {
    env_.messages->inform(this, Message{"帮助文件不存在！", "提示", MessageIcon::Warning});
    return;
  }
  shell_->open("help");
}

void MainWindow::showAbout() {
  env_.messages->about(this, QString::fromUtf8("关于 Korvane"),
                       QString::fromUtf8("Korvane 导线简易平差\n\n"
                                         "附合、闭合、支导线与无定向导线的近似平差计算。\n"
                                         "坐标单位为米，角度为度.分秒。"));
}

void MainWindow::hoverLabel(HoverLabel* label) { commands_->hover(label); }

void MainWindow::pointerOverBackground() { commands_->pointerOverBackground(UsesFirstCompute(selectedKind())); }

void MainWindow::tickWelcome() { banner_->tickWelcome(); }
void MainWindow::tickCaption() { banner_->tickCaption(); }

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The background is the central widget, or the content of the scroll area
  // a small screen puts in its place.
  if (event->type() == QEvent::MouseMove && watched->objectName() == QLatin1String("background")) {
    pointerOverBackground();
  } else if (event->type() == QEvent::Enter && commands_->isCompute(watched)) {
    grid_->pruneTrailingRow();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  // Nothing typed is left behind unasked, unless the window that led here
  // has asked already.
  if (!leaveConfirmed_ && !confirmLeaving()) {
    event->ignore();
    return;
  }
  closing_ = true;
  banner_->stop();
  if (dialog_->isVisible()) dialog_->unload();
  results_->closePlot();
  if (QWidget* network = shell_->window("network")) network->close();
  if (!goodbye_) {
    goodbye_ = new GoodbyeWindow(nullptr);
    connect(goodbye_, &GoodbyeWindow::endRequested, shell_, &WindowShell::endProgramAnswered);
  }
  goodbye_->show();
  shell_->beginEnding();
  io::SetReadOnlyFile(startFilePath().toStdString(), true);
  event->accept();
}

}  // namespace korvane::ui
