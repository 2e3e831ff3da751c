#include "ui/levelling/levelling_window.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/numbers.h"
#include "export/figures.h"
#include "levelling/level_report.h"
#include "levelling/level_table.h"
#include "services/printable_reports.h"
#include "ui/shell/platform.h"
#include "ui/widgets/background_run.h"
#include "ui/widgets/button_row.h"
#include "ui/shell/report_printing.h"
#include "ui/shell/user_prompts.h"
#include "ui/widgets/export_commands.h"
#include "ui/widgets/option_group.h"
#include "ui/widgets/qt_text.h"

namespace korvane::ui {
namespace {

using formats::Method;

const char* const kMethodNames[] = {"opt_dyfhh", "opt_dybhw", "opt_szjcw"};
const Method kMethods[] = {Method::Line, Method::Loop, Method::Network};
constexpr int kStartRows = 8;

QTableWidget* Table(const char* name, const QStringList& headers, QWidget* parent) {
  auto* table = new QTableWidget(kStartRows, static_cast<int>(headers.size()), parent);
  table->setObjectName(name);
  table->setHorizontalHeaderLabels(headers);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  return table;
}

std::vector<std::vector<std::string>> Cells(const QTableWidget* table) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < table->rowCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < table->columnCount(); ++c) {
      const QTableWidgetItem* item = table->item(r, c);
      row.push_back(item ? item->text().toStdString() : std::string());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void Fill(QTableWidget* table, const std::vector<QStringList>& rows) {
  table->clearContents();
  table->setRowCount(std::max(kStartRows, static_cast<int>(rows.size()) + 1));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int c = 0; c < rows[r].size(); ++c) table->setItem(r, c, new QTableWidgetItem(rows[r][c]));
}

}  // namespace

LevellingWindow::LevellingWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages), files_(files) {
  setObjectName("form_szpc");
  setWindowTitle(QString::fromUtf8("水准网平差"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildOptions());
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(buildTables());
  results_ = new QPlainTextEdit(split);
  results_->setObjectName("text_jg");
  results_->setReadOnly(true);
  results_->setLineWrapMode(QPlainTextEdit::NoWrap);
  results_->setFont(TableFont(10));
  split->addWidget(results_);
  layout->addWidget(split, 1);
  layout->addWidget(buildButtons());
  setMethod(Method::Network);
  FitToScreen(this, {820, 760});
}

QWidget* LevellingWindow::buildOptions() {
  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  auto* methodFrame = new QGroupBox(QString::fromUtf8("平差方法"), bar);
  auto* methodRow = new QHBoxLayout(methodFrame);
  for (int i = 0; i < 3; ++i) {
    methods_[i] = new QRadioButton(Q(formats::MethodName(kMethods[i])), methodFrame);
    methods_[i]->setObjectName(kMethodNames[i]);
    methodRow->addWidget(methods_[i]);
    connect(methods_[i], &QRadioButton::toggled, this, [this](bool on) {
      if (on) setWindowTitle(QString::fromUtf8("水准网平差 — ") + Q(formats::MethodName(method()))), dropResult();
    });
  }
  row->addWidget(methodFrame);
  row->addWidget(new QLabel(QString::fromUtf8("等级："), bar));
  grade_ = new QComboBox(bar);
  grade_->setObjectName("cb_dj");
  for (const std::string& g : formats::GradeNames()) grade_->addItem(Q(g));
  connect(grade_, &QComboBox::currentIndexChanged, this, [this] { dropResult(); });
  row->addWidget(grade_);
  auto* terrain = new OptionGroup("terrainGroup", "地形", QBoxLayout::LeftToRight, bar);
  flat_ = terrain->add("opt_pd", "平地");
  hilly_ = terrain->add("opt_sd", "山地");
  row->addWidget(terrain);
  auto* weight = new OptionGroup("weightingGroup", "定权", QBoxLayout::LeftToRight, bar);
  byLength_ = weight->add("opt_L", "距离L");
  bySetUps_ = weight->add("opt_n", "测站数n");
  row->addWidget(weight);
  for (QRadioButton* option : {flat_, hilly_, byLength_, bySetUps_})
    connect(option, &QRadioButton::toggled, this, [this] { updateSizeHeader(), dropResult(); });
  setParameters({});
  return bar;
}

QWidget* LevellingWindow::buildTables() {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  auto side = [&](const char* caption, QTableWidget* table, const char* addName, const char* deleteName, int stretch) {
    auto* frame = new QGroupBox(QString::fromUtf8(caption), panel);
    auto* column = new QVBoxLayout(frame);
    column->addWidget(table);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QString::fromUtf8("插入一行"), frame);
    add->setObjectName(addName);
    auto* remove = new QPushButton(QString::fromUtf8("删除该行"), frame);
    remove->setObjectName(deleteName);
    connect(add, &QPushButton::clicked, this, [this, table] { addRow(table); });
    connect(remove, &QPushButton::clicked, this, [this, table] { deleteRow(table); });
    buttons->addWidget(add);
    buttons->addWidget(remove);
    column->addLayout(buttons);
    connect(table, &QTableWidget::itemChanged, this, [this] { dropResult(); });
    row->addWidget(frame, stretch);
  };
  benchmarks_ = Table("grid_bm", {QString::fromUtf8("点名"), QString::fromUtf8("高程(m)")}, panel);
  sections_ = Table("grid_sec", {QString::fromUtf8("起点"), QString::fromUtf8("终点"), QString::fromUtf8("高差(m)"), QString()},
                    panel);
  side("已知水准点", benchmarks_, "bm_tj", "bm_sc", 2);
  side("测段观测值", sections_, "sec_tj", "sec_sc", 4);
  updateSizeHeader();
  return panel;
}

QWidget* LevellingWindow::buildButtons() {
  auto* buttons = new ButtonRow(this);
  buttons->add("command_dk", "打开数据", [this] { openData(); });
  buttons->add("bc_sj", "保存数据", [this] { saveData(); });
  buttons->add("js", "计    算", [this] { compute(); });
  saveReport_ = buttons->add("bc_bg", "保存报告", [this] { saveReport(); });
  saveReport_->setEnabled(false);
  printCommands_[0] = buttons->add(kPrintCommand, kPrintCaption, [this] { printReport(false); });
  printCommands_[1] = buttons->add(kPdfCommand, kPdfCaption, [this] { printReport(true); });
  for (QPushButton* command : printCommands_) command->setEnabled(false);
  exportHeights_ = buttons->add("dcgc", "导出高程…", [this] { exportHeights(); });
  exportHeights_->setEnabled(false);
  buttons->add("tc", "退    出", [this] { close(); });
  return buttons;
}

void LevellingWindow::setMethod(Method m) {
  for (int i = 0; i < 3; ++i)
    if (kMethods[i] == m) methods_[i]->setChecked(true);
}

Method LevellingWindow::method() const {
  for (int i = 0; i < 3; ++i)
    if (methods_[i]->isChecked()) return kMethods[i];
  return Method::Network;
}

formats::Parameters LevellingWindow::parameters() const {
  formats::Parameters p;
  p.weighting = bySetUps_->isChecked() ? formats::Weighting::SetUps : formats::Weighting::Length;
  p.grade = static_cast<formats::Grade>(std::max(0, grade_->currentIndex()));
  p.terrain = hilly_->isChecked() ? formats::Terrain::Hilly : formats::Terrain::Flat;
  return p;
}

void LevellingWindow::setParameters(const formats::Parameters& p) {
  (p.weighting == formats::Weighting::SetUps ? bySetUps_ : byLength_)->setChecked(true);
  grade_->setCurrentIndex(static_cast<int>(p.grade));
  (p.terrain == formats::Terrain::Hilly ? hilly_ : flat_)->setChecked(true);
}

void LevellingWindow::updateSizeHeader() {
  if (!sections_ || !bySetUps_) return;
  sections_->setHorizontalHeaderItem(3, new QTableWidgetItem(Q(formats::SizeCaption(parameters().weighting))));
}

void LevellingWindow::addRow(QTableWidget* table) {
  const int at = table->currentRow() < 0 ? table->rowCount() : table->currentRow();
  table->insertRow(at);
  dropResult();
}

void LevellingWindow::deleteRow(QTableWidget* table) {
  if (table->currentRow() < 0) return;
  table->removeRow(table->currentRow());
  if (table->rowCount() == 0) table->setRowCount(1);
  dropResult();
}

formats::LevelFileLoad LevellingWindow::typedData() const {
  return formats::DataFromTables(parameters(), Cells(benchmarks_), Cells(sections_));
}

void LevellingWindow::showData(const formats::LevelData& levels) {
  filling_ = true;
  setParameters(levels.params);
  std::vector<QStringList> bms, secs;
  for (const formats::Benchmark& b : levels.benchmarks) bms.push_back({Q(b.name), Q(ExactDecimal(b.height))});
  for (const formats::Section& s : levels.sections)
    secs.push_back({Q(s.from), Q(s.to), Q(ExactDecimal(s.dh)), Q(ExactDecimal(s.size))});
  Fill(benchmarks_, bms);
  Fill(sections_, secs);
  filling_ = false;
  dropResult();
}

void LevellingWindow::dropResult() {
  if (filling_ || !results_) return;
  result_.reset();
  results_->clear();
  if (saveReport_) saveReport_->setEnabled(false);
  for (QPushButton* command : printCommands_) {
    if (command) command->setEnabled(false);
  }
  if (exportHeights_) exportHeights_->setEnabled(false);
}

void LevellingWindow::openData() {
  const QString path = files_.openFile(
      this, {QString::fromUtf8("打开水准数据"), {QString::fromUtf8("水准数据(*.lev *.txt *.dat)"), QString::fromUtf8("所有文件(*.*)")}, {}});
  if (path.isEmpty()) return;
  const BusyCursor busy;
  std::string error;
  const formats::LevelFileLoad load = formats::LoadLevelFile(path.toStdString(), error);
  if (!error.empty()) {
    messages_.inform(this, {"无法读取文件：" + error, "提示", MessageIcon::Warning});
    return;
  }
  if (load.refusal) {
    messages_.inform(this, *load.refusal);
    return;
  }
  showData(load.data);
}

void LevellingWindow::saveData() {
  const formats::LevelFileLoad typed = typedData();
  if (typed.refusal) {
    messages_.inform(this, *typed.refusal);
    return;
  }
  FileDialogRequest request{QString::fromUtf8("保存水准数据"), {QString::fromUtf8("水准数据(*.lev)")}, {}, "lev"};
  const QString path = files_.saveFile(this, request);
  if (path.isEmpty()) return;
  const BusyCursor busy;
  const std::string error = formats::SaveLevelFile(path.toStdString(), typed.data);
  if (!error.empty()) messages_.inform(this, {"文件未能保存：" + error, "提示", MessageIcon::Warning});
}

void LevellingWindow::compute() {
  const BusyCursor busy;
  const formats::LevelFileLoad typed = typedData();
  if (typed.refusal) {
    messages_.inform(this, *typed.refusal);
    return;
  }
  // Off the interface thread; 取消 drops the result when the work ends.
  const std::optional<levelling::LevelOutcome> run =
      RunOffInterface(this, QString::fromUtf8("正在平差…"),
                      [&typed, chosen = method()](const std::atomic<bool>&) { return levelling::Adjust(chosen, typed.data); });
  if (!run) return;
  const levelling::LevelOutcome& outcome = *run;
  if (outcome.refusal) {
    messages_.inform(this, *outcome.refusal);
    return;
  }
  result_ = outcome.result;
  results_->setPlainText(Q(levelling::LevelTableText(*result_)));
  saveReport_->setEnabled(true);
  for (QPushButton* command : printCommands_) command->setEnabled(true);
  exportHeights_->setEnabled(true);
  if (result_->anyOverLimit())
    messages_.inform(this, {"有闭合差超过限差，或单位权中误差显著大于该等级的先验值，已在结果中注明。", "超限", MessageIcon::Warning});
}

void LevellingWindow::saveReport() {
  if (!result_) return;
  FileDialogRequest request{Q(report::kReportDialogTitle), {QString::fromUtf8("HTML文件(*.html *.htm)")}, {}, "html"};
  const QString path = files_.saveFile(this, request);
  if (path.isEmpty()) return;
  const BusyCursor busy;
  const report::ReportWrite write = levelling::WriteLevelReport(path.toStdString(), *result_);
  if (write.refusal) messages_.inform(this, *write.refusal);
  else if (!write.error.empty()) messages_.inform(this, {"报告未能保存：" + write.error, "提示", MessageIcon::Warning});
}

void LevellingWindow::printReport(bool pdf) {
  if (!result_) return;
  const render::PrintableReport report = services::LevelReportPrint(*result_);
  if (pdf) SaveReportPdf(this, files_, messages_, report, pdfFolder_);
  else PrintReport(this, report);
}

void LevellingWindow::exportHeights() {
  if (result_) ExportHeights({this, messages_, files_, exportFolder_}, exporting::LevelHeights(*result_));
}

void LevellingWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  CentreOnFirstShow(this, centred_);
}

}  // namespace korvane::ui
