#include "ui/geodesy/gauss_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "export/figures.h"
#include "geodesy/gauss_point_list.h"
#include "ui/shell/platform.h"
#include "ui/widgets/button_row.h"
#include "ui/widgets/option_group.h"
#include "ui/widgets/tool_window.h"
#include "ui/shell/user_prompts.h"
#include "ui/widgets/export_commands.h"

namespace korvane::ui {

// The zone of the input, or of a zone change's result: width, number or
// central meridian, prefix. The controls' names end in `suffix`.
class ZoneChooser : public QGroupBox {
 public:
  ZoneChooser(const char* title, const std::string& suffix, QWidget* parent) : QGroupBox(QString::fromUtf8(title), parent) {
    setObjectName(QString::fromStdString("Frame_dh" + suffix));
    auto* grid = new QGridLayout(this);
    six_ = Radio("Option_6du" + suffix, "6度带", 0, 0, grid);
    three_ = Radio("Option_3du" + suffix, "3度带", 0, 1, grid);
    byNumber_ = Radio("Option_dh" + suffix, "带号", 1, 0, grid);
    byMeridian_ = Radio("Option_zyzwx" + suffix, "中央子午线", 2, 0, grid);
    number_ = Box("Text_dh" + suffix, "6度带：1～60，L0 = 6n − 3；3度带：1～120，L0 = 3n", 1, grid);
    meridian_ = Box("Text_L0" + suffix, "中央子午线（度.分秒），可为任意经线", 2, grid);
    prefix_ = new QCheckBox(QString::fromUtf8("Y坐标前加带号（带号×1000000米）"), this);
    prefix_->setObjectName(QString::fromStdString("Check_dh" + suffix));
    grid->addWidget(prefix_, 3, 0, 1, 3);
    auto* widths = new QButtonGroup(this);
    widths->addButton(six_);
    widths->addButton(three_);
    auto* ways = new QButtonGroup(this);
    ways->addButton(byNumber_);
    ways->addButton(byMeridian_);
    six_->setChecked(true);
    byNumber_->setChecked(true);
  }
  geodesy::ZoneSpec zoneAsked() const {
    return {three_->isChecked() ? 3 : 6, byMeridian_->isChecked(), number_->text().toStdString(),
            meridian_->text().toStdString(), prefix_->isChecked()};
  }

 private:
  QRadioButton* Radio(const std::string& name, const char* caption, int row, int column, QGridLayout* grid) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), this);
    radio->setObjectName(QString::fromStdString(name));
    grid->addWidget(radio, row, column);
    return radio;
  }
  QLineEdit* Box(const std::string& name, const char* tooltip, int row, QGridLayout* grid) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromStdString(name));
    box->setToolTip(QString::fromUtf8(tooltip));
    grid->addWidget(box, row, 1, 1, 2);
    return box;
  }
  QRadioButton *six_, *three_, *byNumber_, *byMeridian_;
  QLineEdit *number_, *meridian_;
  QCheckBox* prefix_;
};

namespace {

const char* const kGaussAngleIn = "角度输入格式例：30度30分15.5秒则输入：30.30155";
const char* const kGaussAngleOut = "度.分秒，秒取至0.00001秒";
const char* const kMetresIn = "米；Y含500公里（加带号时含带号）";
const char* const kMetresOut = "米，取至0.001米";

// Boxes of each page: two inputs, then the outputs (the last two are γ and k).
const char* const kForwardIn[] = {"Text_B", "Text_L"};
const char* const kForwardOut[] = {"Text_X", "Text_Y", "Text_gamma", "Text_k"};
const char* const kInverseIn[] = {"Text_fs_X", "Text_fs_Y"};
const char* const kInverseOut[] = {"Text_fs_B", "Text_fs_L", "Text_fs_gamma", "Text_fs_k"};
const char* const kZoneIn[] = {"Text_hd_X", "Text_hd_Y"};
const char* const kZoneOut[] = {"Text_hd_X2", "Text_hd_Y2", "Text_hd_gamma", "Text_hd_k", "Text_hd_B", "Text_hd_L"};
const char* const kForwardCaptions[] = {"B", "L", "X", "Y", "子午线收敛角γ", "长度比k"};
const char* const kInverseCaptions[] = {"X", "Y", "B", "L", "子午线收敛角γ", "长度比k"};
const char* const kZoneCaptions[] = {"X（原带）", "Y（原带）", "X（新带）", "Y（新带）", "子午线收敛角γ", "长度比k",
                                     "B", "L"};

const Option<geodesy::Datum> kGaussEllipsoids[] = {
    {"Option_cgcs2000", "CGCS2000", geodesy::Datum::Cgcs2000},
    {"Option_bj54", "北京54（克拉索夫斯基）", geodesy::Datum::Krassovsky},
    {"Option_xa80", "西安80（IAG-75）", geodesy::Datum::Iag75},
};

struct PageNames {
  const char* const* inputs;
  const char* const* outputs;
  int outputCount;
};

const char* const kPageTitles[] = {"高斯投影正算", "高斯投影反算", "换带计算"};

const PageNames kPages[] = {{kForwardIn, kForwardOut, 4}, {kInverseIn, kInverseOut, 4}, {kZoneIn, kZoneOut, 6}};

}  // namespace

namespace {

// What each box takes or shows, by its caption.
const char* TooltipOf(const char* caption, bool input) {
  const std::string c = caption;
  if (c == "B" || c == "L") return input ? kGaussAngleIn : kGaussAngleOut;
  if (c[0] == 'X' || c[0] == 'Y') return input ? kMetresIn : kMetresOut;
  if (c.find("γ") != std::string::npos) return "度.分秒，秒取至0.001秒";
  return "中央子午线上为1";
}

const char* const* CaptionsOf(int page) {
  return page == 0 ? kForwardCaptions : page == 1 ? kInverseCaptions : kZoneCaptions;
}

}  // namespace

GaussWindow::GaussWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages), files_(files) {
  setObjectName("zbtygz");
  setWindowTitle(QString::fromUtf8("坐标投影改正"));
  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("tabs");
  const char* pageNames[] = {"page_zs", "page_fs", "page_hd"};
  for (int page = 0; page < 3; ++page) {
    auto* widget = new QWidget;
    widget->setObjectName(pageNames[page]);
    auto* grid = new QGridLayout(widget);
    PageBoxes& boxes = boxes_[page];
    for (int i = 0; i < 2; ++i) {
      const char* caption = CaptionsOf(page)[i];
      boxes.inputs.push_back(AddLabelledBox(grid, i, 0, {kPages[page].inputs[i], caption, TooltipOf(caption, true)}, false));
      connect(boxes.inputs.back(), &QLineEdit::returnPressed, this, &GaussWindow::compute);
    }
    for (int i = 0; i < kPages[page].outputCount; ++i) {
      const char* caption = CaptionsOf(page)[i + 2];
      boxes.outputs.push_back(AddLabelledBox(grid, i % 4, 2 + 2 * (i / 4),
                                             {kPages[page].outputs[i], caption, TooltipOf(caption, false)}, true));
    }
    if (page == 2) {
      target_ = new ZoneChooser("换算后的投影带", "_2", widget);
      grid->addWidget(target_, 4, 0, 1, 6);
    }
    pages_->addTab(widget, QString::fromUtf8(kPageTitles[page]));
  }
  connect(pages_, &QTabWidget::currentChanged, this, &GaussWindow::focusFirstInput);
  connect(pages_, &QTabWidget::currentChanged, this, &GaussWindow::updateExports);
  layout->addWidget(pages_);
  zone_ = new ZoneChooser("投影带（换带时为原带）", "", this);
  auto* settingsRow = new QHBoxLayout;
  settingsRow->addWidget(buildEllipsoidFrame());
  settingsRow->addWidget(zone_);
  layout->addLayout(settingsRow);
  auto* note = new QLabel(QString::fromUtf8("注：只在所选椭球上换算，不作坐标系（基准）之间的转换。"), this);
  note->setObjectName("Label_note");
  layout->addWidget(note);
  auto* buttons = new ButtonRow(this);
  buttons->add("js", "计算", [this] { compute(); });
  buttons->add("wjzh", "文件转换", [this] { convertFile(); });
  exportDrawing_ = buttons->add("dcdxf", "导出DXF…", [this] { exportDrawing(); });
  exportCoordinates_ = buttons->add("dczb", "导出坐标…", [this] { exportCoordinates(); });
  buttons->add("qksr", "清空输入", [this] { clearInput(); });
  buttons->add("qkjg", "清空结果", [this] { clearResult(); });
  buttons->add("qbqk", "全部清空", [this] { clearAll(); });
  buttons->add("tczcx", "退出子程序", [this] { emit leaveToolRequested(); });
  layout->addWidget(buttons);
  updateExports();
}

QWidget* GaussWindow::buildEllipsoidFrame() {
  ellipsoids_ = new OptionGroup("Frame_tq", "选择椭球", QBoxLayout::TopToBottom, this);
  ellipsoids_->addAll(kGaussEllipsoids);
  return ellipsoids_;
}

geodesy::Settings GaussWindow::settings() const {
  geodesy::Settings s;
  const int page = pages_->currentIndex();
  s.problem = page == 0 ? geodesy::Problem::Forward : page == 1 ? geodesy::Problem::Inverse : geodesy::Problem::ZoneChange;
  s.datum = ellipsoids_->chosen(kGaussEllipsoids);
  s.zone = zone_->zoneAsked();
  s.target = target_->zoneAsked();
  return s;
}

void GaussWindow::compute() {
  const std::vector<std::string> typed = Texts({shownBoxes().inputs[0], shownBoxes().inputs[1]});
  const geodesy::Solution s = geodesy::Solve(settings(), typed[0], typed[1]);
  if (s.refusal) {
    // No figures of the previous input stay beside the refused one.
    clearResult();
    messages_.inform(this, *s.refusal);
    return;
  }
  showSolution(s);
  // A single point has no name of its own: it is point 1, as in korvane-cli.
  keepPoints(exporting::GaussFigure(pageTitle(), {"1," + s.first + "," + s.second}));
}

void GaussWindow::showSolution(const geodesy::Solution& s) {
  const std::string texts[] = {s.first, s.second, s.gamma, s.k, s.b, s.l};
  const std::vector<QLineEdit*>& outputs = shownBoxes().outputs;
  for (std::size_t i = 0; i < outputs.size(); ++i) outputs[i]->setText(QString::fromStdString(texts[i]));
}

void GaussWindow::convertFile() {
  FileDialogRequest request;
  request.title = QString::fromUtf8("打开点文件（点名,两个数值）");
  request.filters = {QString::fromUtf8("文本文件(*.TXT *.txt)"), QString::fromUtf8("数据文件(*.DAT *.dat)"),
                     QString::fromUtf8("所有文件(*)")};
  request.folder = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
  const QString input = files_.openFile(this, request);
  if (input.isEmpty()) return;
  lastFolder_ = QFileInfo(input).absolutePath();
  request.title = QString::fromUtf8("保存转换结果");
  request.folder = lastFolder_;
  request.defaultSuffix = "txt";
  const QString output = WithDefaultSuffix(files_.saveFile(this, request), "txt");
  if (output.isEmpty()) return;
  const BusyCursor busy;
  const geodesy::ListResult r = geodesy::ConvertPointListFile(input.toStdString(), output.toStdString(), settings());
  if (r.refusal) {
    messages_.inform(this, *r.refusal);
    return;
  }
  keepPoints(exporting::GaussFigure(pageTitle(), r.lines));
  messages_.inform(this, Message{"已转换" + std::to_string(r.points) + "个点，结果已保存到：" + output.toStdString(),
                                 "提示", MessageIcon::Information});
}

const GaussWindow::PageBoxes& GaussWindow::shownBoxes() const { return boxes_[pages_->currentIndex()]; }

void GaussWindow::clearInput() {
  for (QLineEdit* box : shownBoxes().inputs) box->clear();
}

void GaussWindow::clearResult() {
  for (QLineEdit* box : shownBoxes().outputs) box->clear();
  keepPoints({});
}

void GaussWindow::clearAll() {
  clearInput();
  clearResult();
}

std::string GaussWindow::pageTitle() const { return kPageTitles[pages_->currentIndex()]; }

void GaussWindow::keepPoints(exporting::Figure figure) {
  // B and L of the inverse problem are no plane coordinates: nothing to draw.
  if (settings().problem == geodesy::Problem::Inverse) figure = {};
  figures_[static_cast<std::size_t>(pages_->currentIndex())] = std::move(figure);
  updateExports();
}

void GaussWindow::updateExports() {
  const bool held = !figures_[static_cast<std::size_t>(pages_->currentIndex())].points.empty();
  for (QPushButton* button : {exportDrawing_, exportCoordinates_})
    if (button) button->setEnabled(held);
}

void GaussWindow::exportDrawing() {
  ExportDrawing({this, messages_, files_, lastFolder_}, figures_[static_cast<std::size_t>(pages_->currentIndex())]);
}

void GaussWindow::exportCoordinates() {
  ExportCoordinates({this, messages_, files_, lastFolder_},
                    figures_[static_cast<std::size_t>(pages_->currentIndex())]);
}

void GaussWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  CentreOnFirstShow(this, centred_);
  focusFirstInput();
}

void GaussWindow::focusFirstInput() {
  shownBoxes().inputs[0]->setFocus();
}

}  // namespace korvane::ui
