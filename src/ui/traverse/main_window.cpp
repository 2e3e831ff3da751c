#include "ui/traverse/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "formats/observation_check.h"
#include "io/read_only.h"
#include "formats/start_data.h"
#include "io/text_file.h"
#include "core/text_utils.h"
#include "formats/traverse_file.h"
#include "traverse/simple_adjustment.h"
#include "ui/utilities/calculator_window.h"
#include "ui/geodesy/distance_reduction_window.h"
#include "ui/geodesy/gauss_window.h"
#include "ui/geodesy/geodetic_window.h"
#include "ui/levelling/levelling_window.h"
#include "ui/standards/standards_window.h"
#include "ui/cogo/one_way_height_window.h"
#include "ui/shell/goodbye_window.h"
#include "ui/shell/guarded_application.h"
#include "ui/help/help_window.h"
#include "ui/utilities/splitter_window.h"
#include "ui/utilities/total_station_window.h"
#include "ui/cogo/intersection_window.h"
#include "ui/cogo/resection_window.h"
#include "ui/cogo/centring_window.h"
#include "ui/widgets/hover_command.h"
#include "ui/traverse/observation_grid.h"
#include "ui/shell/platform.h"
#include "ui/traverse/plot_window.h"
#include "ui/shell/report_printing.h"
#include "export/figures.h"
#include "ui/widgets/export_commands.h"
#include "services/printable_reports.h"
#include "ui/traverse/rigorous_window.h"
#include "ui/traverse/start_dialog.h"
#include "ui/shell/user_prompts.h"
#include "ui/network/network_window.h"

namespace korvane::ui {

namespace {

struct CommandEntry {
  const char* label;
  const char* labelText;
  const char* button;
  const char* buttonText;
};

// In the order they stand in the command column; the two compute commands
// share the first place.
const CommandEntry kCommands[] = {
    {"Label3", "               计    算", "js", "计    算"},
    {"Label10", "               计    算", "js2", "计    算"},
    {"Label7", "               打开数据", "command_dk", "打开数据"},
    {"Label8", "               插入一行", "Command_tj", "插入一行"},
    {"Label6", "               删除该行", "Command_sc", "删除该行"},
    {"Label4", "               保存文本", "bc", "保存文本"},
    {"Label13", "               打印…", "dy", "打印…"},
    {"Label14", "               保存为PDF…", "bcpdf", "保存为PDF…"},
    {"Label15", "               导出DXF…", "dcdxf", "导出DXF…"},
    {"Label16", "               导出坐标…", "dczb", "导出坐标…"},
    {"Label12", "               保存数据", "bcsj", "保存数据"},
    {"Label9", "               返    回", "Command_back", "返    回"},
    {"Label5", "               退    出", "tc", "退   出"},
};

// The most stations the observation grid takes from a file.
constexpr int kMaxGridStations = 10000;

// The line above the grid after a file is opened: the traverse from its
// first station to its other end, and the kind of computation.
QString TraverseTitle(formats::TraverseKind kind, const formats::TraverseFileLoad& load) {
  const char* kindTitle = "";
  switch (kind) {
    case formats::TraverseKind::Connecting: kindTitle = "  附合导线计算："; break;
    case formats::TraverseKind::Closed: kindTitle = "  闭合导线计算："; break;
    case formats::TraverseKind::Open: kindTitle = "  支导线计算："; break;
    case formats::TraverseKind::NoOrientation: kindTitle = "  无定向导线计算："; break;
  }
  const std::string& otherEnd = kind == formats::TraverseKind::Closed ? load.firstStation : load.secondName;
  return QString::fromStdString(load.firstStation + "(至)" + otherEnd + kindTitle);
}

const char* const kWelcomeText = "欢迎使用导线简易平差";

QString InitialCaption() {
  const QString name = "Korvane";
  QString spaced;
  for (int i = 0; i < name.size(); ++i) {
    if (i > 0) spaced += ' ';
    spaced += name[i];
  }
  return QString(65, ' ') + spaced;
}

bool UsesFirstCompute(formats::TraverseKind kind) {
  return kind == formats::TraverseKind::Connecting || kind == formats::TraverseKind::Closed;
}

// The traverse data files offered by 打开数据 and 保存数据.
FileDialogRequest DataFileRequest(const char* title, const QString& folder) {
  FileDialogRequest request;
  request.title = QString::fromUtf8(title);
  request.filters = {QString::fromUtf8("数据文件(*.DAT *.dat)"),
                     QString::fromUtf8("文本文件(*.TXT *.txt)"),
                     QString::fromUtf8("写字板文件(*.RTF *.rtf)"),
                     QString::fromUtf8("所有文件(*)")};
  request.folder = folder.isEmpty() ? QDir::homePath() : folder;
  return request;
}

Message KeepObservationsQuestion() {
  return Message{"表格中已有观测数据，是否保留？", "提示", MessageIcon::Question};
}

}  // namespace

MainWindow::MainWindow(MainWindowEnvironment env)
    : env_(std::move(env)),
      welcomeAnimation_(QString::fromUtf8(kWelcomeText), 70, 120, 60) {
  setObjectName("zhuchuangti");
  setFont(UiFont(10));
  buildWindow();
  registerWindows();
  buildMenu();
  FitToScreen(this, {1180, 700});
  dialog_ = new StartDialog(this, *env_.messages, *env_.files, startFilePath());
  connect(dialog_, &StartDialog::handedOver, this, &MainWindow::handOver);
  welcomeTimer_ = new QTimer(this);
  welcomeTimer_->setObjectName("Timer1");
  welcomeTimer_->setInterval(500);
  connect(welcomeTimer_, &QTimer::timeout, this, &MainWindow::tickWelcome);
  captionTimer_ = new QTimer(this);
  captionTimer_->setObjectName("Timer2");
  captionTimer_->setInterval(500);
  connect(captionTimer_, &QTimer::timeout, this, &MainWindow::tickCaption);
}

MainWindow::~MainWindow() {
  delete shell_;
  delete plot_;
  delete goodbye_;
}

QString MainWindow::startFilePath() const {
  return env_.dataDir + "/" + QString::fromUtf8(formats::kStartDataFileName);
}

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
  body->addLayout(buildViews(central), 1);
  body->addLayout(buildCommands(central));
  root->addLayout(body, 1);
  connectCommands();
}

// The greeting, the title line, the kind options and the units line.
void MainWindow::buildHeader(QWidget* central, QVBoxLayout* root) {
  welcome_ = new QLabel(central);
  welcome_->setObjectName("Label2");
  welcome_->setFont(GreetingFont(24));
  welcome_->setAlignment(Qt::AlignCenter);
  welcome_->setMinimumHeight(54);
  welcome_->setText(QString::fromUtf8(kWelcomeText));
  root->addWidget(welcome_);

  titleLabel_ = new QLabel(central);
  titleLabel_->setObjectName("Label1");
  titleLabel_->setFont(UiFont(12));
  titleLabel_->setAlignment(Qt::AlignCenter);
  titleLabel_->setMinimumHeight(26);
  root->addWidget(titleLabel_);

  kindFrame_ = new QGroupBox(QString::fromUtf8("     选择导线类型"), central);
  kindFrame_->setObjectName("Frame1");
  auto* kindRow = new QHBoxLayout(kindFrame_);
  const std::pair<formats::TraverseKind, std::pair<const char*, const char*>> kindNames[] = {
      {formats::TraverseKind::Connecting, {"fhdx", "附合导线"}},
      {formats::TraverseKind::Closed, {"bhdx", "闭合导线"}},
      {formats::TraverseKind::Open, {"zdx", "支导线"}},
      {formats::TraverseKind::NoOrientation, {"wdxdx", "无定向导线"}}};
  for (const auto& [kind, names] : kindNames) {
    auto* option = new QRadioButton(QString::fromUtf8(names.second), kindFrame_);
    option->setObjectName(names.first);
    kindRow->addWidget(option);
    kindRow->addSpacing(30);
    kinds_[kind] = option;
    const formats::TraverseKind chosen = kind;
    connect(option, &QRadioButton::toggled, this, [this, chosen](bool on) {
      if (on) selectKind(chosen);
    });
  }
  kindRow->addStretch();
  root->addWidget(kindFrame_);

  auto* units = new QLabel(
      QString::fromUtf8("角度单位为：度.分秒                    长度单位为：米"
                        "                    请输入观测数据："),
      central);
  units->setObjectName("Label11");
  root->addWidget(units);
}

// The observation grid and, in the same place, the results pane.
QGridLayout* MainWindow::buildViews(QWidget* central) {
  auto* views = new QGridLayout;
  grid_ = new ObservationGrid(central, *env_.messages);
  views->addWidget(grid_->grid(), 0, 0);
  pane_ = new QPlainTextEdit(central);
  pane_->setObjectName("RichTextBox1");
  pane_->setLineWrapMode(QPlainTextEdit::NoWrap);
  pane_->setFont(TableFont(10));
  pane_->hide();
  views->addWidget(pane_, 0, 0);
  return views;
}

// The column of hover commands; the two compute commands share a place.
QVBoxLayout* MainWindow::buildCommands(QWidget* central) {
  auto* commands = new QVBoxLayout;
  commands->setSpacing(6);
  CommandPlace* place = nullptr;
  for (const CommandEntry& entry : kCommands) {
    if (std::string(entry.label) != "Label10") {
      place = new CommandPlace(central);
      place->setFixedSize(200, 40);
      commands->addWidget(place);
    }
    const HoverPair made = AddHoverPair(place, entry.label, QString::fromUtf8(entry.labelText), entry.button,
                                        QString::fromUtf8(entry.buttonText));
    pairs_[entry.button] = made;
    HoverLabel* label = made.label;
    connect(label, &HoverLabel::hovered, this, [this, label] { hoverLabel(label); });
  }
  commands->addStretch();
  return commands;
}

void MainWindow::connectCommands() {
  pair("Command_back").button->setToolTip(QString::fromUtf8("计算后有效"));
  for (const char* name : {"js", "js2"}) pair(name).button->installEventFilter(this);

  connect(pair("js").button, &QPushButton::clicked, this, &MainWindow::compute);
  connect(pair("js2").button, &QPushButton::clicked, this, &MainWindow::compute);
  connect(pair("bc").button, &QPushButton::clicked, this, &MainWindow::saveResults);
  connect(pair(kPrintCommand).button, &QPushButton::clicked, this, [this] { printResults(false); });
  connect(pair(kPdfCommand).button, &QPushButton::clicked, this, [this] { printResults(true); });
  connect(pair("dcdxf").button, &QPushButton::clicked, this, &MainWindow::exportDrawing);
  connect(pair("dczb").button, &QPushButton::clicked, this, &MainWindow::exportCoordinates);
  connect(pair("bcsj").button, &QPushButton::clicked, this, &MainWindow::saveData);
  connect(pair("tc").button, &QPushButton::clicked, this, &MainWindow::close);
  connect(pair("Command_sc").button, &QPushButton::clicked, this,
          [this] { grid_->deleteRow(); });
  connect(pair("Command_tj").button, &QPushButton::clicked, this,
          [this] { grid_->insertRow(); });
  connect(pair("command_dk").button, &QPushButton::clicked, this, &MainWindow::openData);
  connect(pair("Command_back").button, &QPushButton::clicked, this, &MainWindow::back);
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
    if (plot_) plot_->close();
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

HoverPair& MainWindow::pair(const char* buttonName) {
  return pairs_.at(buttonName);
}

// Every tool window and how it lives. The weighted, network and splitter
// windows keep their tables for the program's life; the total-station window
// starts afresh at each opening; the others go when closed.
void MainWindow::registerWindows() {
  using Keep = WindowShell::Keep;
  MessageBoxes& messages = *env_.messages;
  FileDialogs& files = *env_.files;
  shell_ = new WindowShell(this);
  shell_->setExit({[this] { return confirmLeaving(); },
                   [this] { io::SetReadOnlyFile(startFilePath().toStdString(), true); }, env_.instance,
                   env_.endProgram});
  // The weighted and total-station windows end the program through this
  // window and its goodbye, their unsaved-rows question already answered.
  connect(shell_, &WindowShell::endThroughMainWindow, this, &MainWindow::close);
  shell_->add("rigorous", Keep::ForProgram, [this, &messages, &files] {
    auto* window = new RigorousWindow(messages, files);
    window->setLeaveGuard([this] { return leaveConfirmed_ = confirmLeaving(); });
    return window;
  }, WindowShell::End::ThroughMainWindow);
  shell_->add("totalStation", Keep::Afresh, [this, &messages, &files] {
    auto* window = new TotalStationWindow(messages, files);
    window->setLeaveGuard([this] { return leaveConfirmed_ = confirmLeaving(); });
    return window;
  }, WindowShell::End::ThroughMainWindow);
  shell_->add("network", Keep::ForProgram, [&messages, &files] { return new NetworkWindow(messages, files); });
  shell_->add("splitter", Keep::ForProgram, [&messages, &files] { return new SplitterWindow(messages, files); });
  shell_->add("levelling", Keep::UntilClosed, [&messages, &files] { return new LevellingWindow(messages, files); });
  shell_->add("gauss", Keep::UntilClosed, [&messages, &files] { return new GaussWindow(messages, files); });
  shell_->add("geodetic", Keep::UntilClosed, [&messages] { return new GeodeticWindow(messages); });
  shell_->add("calculator", Keep::UntilClosed, [&messages] { return new CalculatorWindow(messages); });
  shell_->add("distanceReduction", Keep::UntilClosed, [&messages] { return new DistanceReductionWindow(messages); });
  shell_->add("oneWayHeight", Keep::UntilClosed, [&messages] { return new OneWayHeightWindow(messages); });
  shell_->add("intersection", Keep::UntilClosed, [this, &messages, &files] { return new IntersectionWindow(messages, files, this); });
  shell_->add("resection", Keep::UntilClosed, [this, &messages, &files] { return new ResectionWindow(messages, files, this); });
  shell_->add("centring", Keep::UntilClosed, [this, &messages] { return new CentringWindow(messages, this); });
  shell_->add("standards", Keep::UntilClosed, [] { return new StandardsWindow; });
  shell_->add("help", Keep::ForProgram, [this] { return new HelpWindow(this); });
}

void MainWindow::startUp() {
  CentreOnScreen(this, -350 * 96 / 1440);
  for (auto& [name, p] : pairs_) p.button->hide();
  kinds_[formats::TraverseKind::Connecting]->setChecked(true);
  selectKind(formats::TraverseKind::Connecting);
  pair("command_dk").label->setEnabled(false);
  pair("js").label->setEnabled(false);
  pair("js2").label->setEnabled(false);
  pair("js2").label->hide();
  pair("Command_back").label->setEnabled(false);
  pair("Command_back").button->setEnabled(false);
  caption_ = InitialCaption();
  setWindowTitle(caption_);
  welcome_->setText(QString());
  grid_->setUp();
  markSaved();
  prepareStartFile();
  welcomeTimer_->start();
  captionTimer_->start();
}

void MainWindow::prepareStartFile() {
  const QString marker = env_.dataDir + "/" + QString::fromUtf8(formats::kStartDataMarkerName);
  if (QFileInfo::exists(marker)) return;
  const QString path = startFilePath();
  if (QFileInfo::exists(path)) {
    io::SetReadOnlyFile(path.toStdString(), false);
  } else {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.close();
  }
}

formats::TraverseKind MainWindow::selectedKind() const {
  for (const auto& [kind, option] : kinds_) {
    if (option->isChecked()) return kind;
  }
  return formats::TraverseKind::Connecting;
}

void MainWindow::selectKind(formats::TraverseKind kind) {
  if (!kinds_[kind]->isChecked()) {
    kinds_[kind]->setChecked(true);  // runs this again through its toggle
    return;
  }
  dialog_->selectKind(kind);
  // Start data belong to the kind they were confirmed for: another kind
  // cannot be computed until its own start data are confirmed.
  if (!confirmedKind_ || !grid_->grid()->isVisibleTo(this)) return;
  if (kind == *confirmedKind_) {
    setComputeFor(kind, false);
  } else {
    withdrawCompute();
  }
}

void MainWindow::withdrawCompute() {
  const bool first = UsesFirstCompute(selectedKind());
  HoverPair& shown = pair(first ? "js" : "js2");
  HoverPair& other = pair(first ? "js2" : "js");
  for (HoverPair* p : {&shown, &other}) {
    p->button->hide();
    p->button->setEnabled(false);
    p->label->setEnabled(false);
  }
  other.label->hide();
  shown.label->show();
}

void MainWindow::setComputeFor(formats::TraverseKind kind, bool showButton) {
  HoverPair& active = pair(UsesFirstCompute(kind) ? "js" : "js2");
  HoverPair& other = pair(UsesFirstCompute(kind) ? "js2" : "js");
  other.button->hide();
  other.label->hide();
  other.label->setEnabled(false);
  active.label->setEnabled(true);
  active.label->show();
  active.button->setEnabled(true);
  active.button->setVisible(showButton);
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
  kinds_[kind]->setChecked(true);
  for (auto& [k, option] : kinds_) option->setEnabled(k == kind);
  setComputeFor(kind, true);
  pair("command_dk").label->setEnabled(true);
  pair("command_dk").button->show();
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
  for (auto& [kind, option] : kinds_) option->setEnabled(true);
  dialog_->open(selectedKind());
}

void MainWindow::resetTraverse() {
  grid_->reset();
  titleLabel_->clear();
  lastSecondName_.clear();
  lastKindLetter_.clear();
  markSaved();
}

void MainWindow::markSaved() { savedRows_ = WithoutBlankTrailingRows(grid_->table()); }

bool MainWindow::hasUnsavedRows() const {
  const formats::ObservationTable now = WithoutBlankTrailingRows(grid_->table());
  return HoldsObservations(now) && now.rows != savedRows_.rows;
}

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
  const QString path = env_.files->openFile(this, DataFileRequest("打开文件", lastFolder_));
  if (path.isEmpty()) return;
  lastFolder_ = QFileInfo(path).absolutePath();
  formats::TraverseFileLoad load;
  {
    BusyCursor busy;
    load = LoadTraverseFile(path.toStdString(), selectedKind());
    if (!load.refusal && load.table.stationCount() <= kMaxGridStations) grid_->fill(load.table);
  }
  if (load.refusal) {
    env_.messages->inform(this, *load.refusal);
    return;
  }
  // The grid holds one widget item per cell: a traverse larger than a
  // surveyor types is computed with korvane-cli instead.
  if (load.table.stationCount() > kMaxGridStations) {
    env_.messages->inform(this, Message{"文本中测站数超过" + std::to_string(kMaxGridStations) +
                                            "个，请用 korvane-cli traverse 计算！",
                                        "抱歉", MessageIcon::Information});
    return;
  }
  titleLabel_->setText(TraverseTitle(selectedKind(), load));
  lastSecondName_ = QString::fromStdString(load.secondName);
  lastKindLetter_ = QString::fromStdString(load.kindLetter);
  markSaved();
}

bool MainWindow::saveData() {
  grid_->editor().commitAndClose();
  const formats::TraverseDataLines file = TraverseFileLines(grid_->table(), selectedKind(), lastKindLetter_.toStdString(),
                                                   lastSecondName_.toStdString());
  if (file.refusal) {
    env_.messages->inform(this, *file.refusal);
    return false;
  }
  FileDialogRequest request = DataFileRequest("保存文件", lastFolder_);
  request.defaultSuffix = "DAT";
  const QString path = WithDefaultSuffix(env_.files->saveFile(this, request), "DAT");
  if (path.isEmpty()) return false;
  lastFolder_ = QFileInfo(path).absolutePath();
  const std::string error = io::WriteLinesAtomically(path.toStdString(), file.lines);
  if (!error.empty()) {
    env_.messages->inform(this, Message{"数据无法保存：" + path.toStdString() + "\n" + error, "请检查",
                                        MessageIcon::Warning});
    return false;
  }
  markSaved();
  return true;
}

void MainWindow::compute() {
  traverse::SimpleInput input;
  input.kind = selectedKind();
  // Blank rows at the end (a row opened by moving on past the last cell)
  // are no stations.
  input.table = WithoutBlankTrailingRows(grid_->table());
  input.start = formats::ReadStartFile(startFilePath().toStdString());
  if (!lastSecondName_.isEmpty()) input.endName = lastSecondName_.toStdString();
  input.withPoints = true;
  figure_ = {};
  if (!confirmedKind_ || input.kind != *confirmedKind_) return;
  // A computation that fails (memory running out above all) ends with a
  // message and leaves the window as it was, the grid with its data.
  traverse::SimpleResult result;
  const bool ran = RunGuarded(env_.messages, this, [&] {
    BusyCursor busy;
    result = env_.adjust ? env_.adjust(input) : AdjustTraverse(input);
    if (result.tableAccepted) pane_->setPlainText(QString::fromStdString(ResultsText(result)));
  });
  if (!ran) return;
  // Printed with the table; none for a table stopped part way.
  resultsSketch_ = result.sketch;
  auto* used = qobject_cast<QPushButton*>(sender());
  if (!used) used = pair(UsesFirstCompute(input.kind) ? "js" : "js2").button;
  if (!result.ok()) {
    // A table stopped part way is shown, so that the surveyor sees where it
    // stopped and what 保存文本 would save.
    if (result.tableAccepted && !result.lines.empty()) enterResultsState(used);
    if (const auto cell = formats::CellNamedBy(result.refusal->text)) grid_->setCurrentCell(cell->row, cell->column);
    env_.messages->inform(this, *result.refusal);
    return;
  }
  if (!plot_) plot_ = new PlotWindow(nullptr, *env_.messages, *env_.files);
  plot_->showSketch(result.sketch);
  figure_ = exporting::SimpleFigure(input.kind, result.points);
  enterResultsState(used);
}

void MainWindow::enterResultsState(QPushButton* used) {
  for (auto& [kind, option] : kinds_) option->setEnabled(false);
  pair("command_dk").label->setEnabled(false);
  pair("command_dk").button->hide();
  // The observations are saved from the input view.
  pair("bcsj").label->setEnabled(false);
  pair("bcsj").button->hide();
  // The used compute command is hidden, its caption with it, until 返回.
  for (const char* name : {"js", "js2"}) {
    HoverPair& p = pair(name);
    if (p.button != used) continue;
    p.button->hide();
    p.label->setEnabled(false);
    p.label->hide();
    hiddenCaption_ = p.label;
  }
  pair("Command_back").label->setEnabled(true);
  pair("Command_back").button->setEnabled(true);
  startDataMenu_->setEnabled(false);
  grid_->grid()->hide();
  pane_->show();
}

void MainWindow::back() {
  if (plot_) plot_->close();
  hiddenCaption_ = nullptr;
  pane_->hide();
  grid_->grid()->show();
  pair("Command_back").label->setEnabled(false);
  pair("Command_back").button->setEnabled(false);
  startDataMenu_->setEnabled(true);
  for (auto& [kind, option] : kinds_) option->setEnabled(true);
  pair("bcsj").label->setEnabled(true);
  pane_->clear();
  figure_ = {};
  setComputeFor(selectedKind(), false);
}

void MainWindow::exportDrawing() { ExportDrawing({this, *env_.messages, *env_.files, lastFolder_}, figure_); }
void MainWindow::exportCoordinates() {
  ExportCoordinates({this, *env_.messages, *env_.files, lastFolder_}, figure_);
}

void MainWindow::saveResults() {
  const QString text = pane_->toPlainText();
  if (text.isEmpty()) {
    env_.messages->inform(this, formats::NothingToSaveMessage());
    return;
  }
  FileDialogRequest request;
  request.title = QString::fromUtf8("保存文件");
  request.filters = {QString::fromUtf8("数据文件(*.DAT *.dat)"),
                     QString::fromUtf8("写字板文件(*.RTF *.rtf)"),
                     QString::fromUtf8("WORD文档(*.doc)"),
                     QString::fromUtf8("文本文件(*.TXT *.txt)")};
  request.folder = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
  request.defaultSuffix = "DAT";
  const QString path = WithDefaultSuffix(env_.files->saveFile(this, request), "DAT");
  if (path.isEmpty()) return;
  lastFolder_ = QFileInfo(path).absolutePath();
  const std::string error = formats::SaveResultsText(path.toStdString(), text.toStdString());
  if (!error.empty()) {
    env_.messages->inform(this, Message{"结果无法保存：" + path.toStdString() + "\n" + error,
                                        "请检查", MessageIcon::Warning});
  }
}

void MainWindow::printResults(bool pdf) {
  const QString text = pane_->toPlainText();
  if (text.isEmpty()) {
    env_.messages->inform(this, formats::NothingToSaveMessage());
    return;
  }
  const render::PrintableReport report = services::SimpleResultsPrint(text, resultsSketch_);
  if (pdf) SaveReportPdf(this, *env_.files, *env_.messages, report, lastFolder_);
  else PrintReport(this, report);
}

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

void MainWindow::hoverLabel(HoverLabel* label) {
  if (!label->isEnabled()) return;
  for (auto& [name, p] : pairs_) {
    if (p.label != label) continue;
    ShowButton(p);
    if (name == "js") {
      pair("js2").button->hide();
      pair("js2").label->hide();
    } else if (name == "js2") {
      pair("js").button->hide();
      pair("js").label->hide();
    }
  }
}

void MainWindow::pointerOverBackground() {
  for (auto& [name, p] : pairs_) {
    p.button->hide();
    p.label->show();
  }
  // The two compute commands share a place: only the one of the selected
  // kind is shown, greyed while it is unavailable.
  const bool first = UsesFirstCompute(selectedKind());
  pair(first ? "js2" : "js").label->hide();
  if (hiddenCaption_) hiddenCaption_->hide();
}

void MainWindow::tickWelcome() {
  welcome_->setText(welcomeAnimation_.tick());
  QPalette pal = welcome_->palette();
  pal.setColor(QPalette::WindowText, welcomeAnimation_.color());
  welcome_->setPalette(pal);
}

void MainWindow::tickCaption() {
  caption_ = RotateLeft(caption_);
  setWindowTitle(caption_);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The background is the central widget, or the content of the scroll area
  // a small screen puts in its place.
  if (event->type() == QEvent::MouseMove && watched->objectName() == QLatin1String("background")) {
    pointerOverBackground();
  } else if (event->type() == QEvent::Enter &&
             (watched == pair("js").button || watched == pair("js2").button)) {
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
  welcomeTimer_->stop();
  captionTimer_->stop();
  if (dialog_->isVisible()) dialog_->unload();
  if (plot_) plot_->close();
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
