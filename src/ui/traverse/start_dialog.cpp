#include "ui/traverse/start_dialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/text_utils.h"
#include "export/point_list.h"
#include "ui/traverse/list_point_picker.h"
#include "ui/widgets/export_commands.h"
#include "ui/shell/platform.h"
#include "ui/shell/user_prompts.h"

namespace korvane::ui {

namespace {

const char* const kEditNames[formats::kStartRecordCount] = {
    "Text_qdx", "Text_qdy",   "Text_qdh",   "Text_qddxx", "Text_qddxy", "Text_zdx", "Text_zdy",
    "Text_zdh", "Text_zddxx", "Text_zddxy", "Text_gcm",   "Text_j",     "Text_c"};
const char* const kLabelNames[10] = {"Label_qdx", "Label_qdy",   "Label_qdh",   "Label_qddxx",
                                     "Label_qddxy", "Label_zdx", "Label_zdy",   "Label_zdh",
                                     "Label_zddxx", "Label_zddxy"};

QRadioButton* MakeOption(QWidget* parent, const char* name, const char* caption) {
  auto* option = new QRadioButton(QString::fromUtf8(caption), parent);
  option->setObjectName(name);
  return option;
}

}  // namespace

StartDialog::StartDialog(QWidget* parent, MessageBoxes& messages, FileDialogs& files, QString startFilePath)
    : QDialog(parent), messages_(messages), files_(files), startFilePath_(std::move(startFilePath)) {
  setObjectName("Form_qssj");
  setModal(false);
  setFont(UiFont(10));
  KeepOnTop(this);
  buildControls();
}

void StartDialog::buildControls() {
  auto* root = new QVBoxLayout(this);
  root->addWidget(buildDataForm());
  root->addLayout(buildCoordinateFields());
  auto* lower = new QHBoxLayout;
  lower->addWidget(buildPlaneOptions());
  lower->addWidget(buildConstantOptions());
  root->addLayout(lower);
  root->addLayout(buildButtons());
  connectOptions();
  for (QLineEdit* edit : edits_) edit->installEventFilter(this);
}

// 选择已知数据的形式: the point or the azimuth form.
QGroupBox* StartDialog::buildDataForm() {
  auto* formFrame = new QGroupBox(QString::fromUtf8("选择已知数据的形式"), this);
  auto* formRow = new QHBoxLayout(formFrame);
  optionSd_ = MakeOption(formFrame, "Option_sd", "四点坐标");
  optionDf_ = MakeOption(formFrame, "Option_df", "起终点坐标和起终方位角");
  formRow->addWidget(optionSd_);
  formRow->addWidget(optionDf_);
  formRow->addStretch();
  return formFrame;
}

// The labels and boxes of records 1 to 10.
QGridLayout* StartDialog::buildCoordinateFields() {
  auto* coords = new QGridLayout;
  coords->setHorizontalSpacing(8);
  // Position of records 1..10 in the grid: row, column pair.
  const int place[10][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1},
                            {2, 0}, {2, 1}, {2, 2}, {3, 0}, {3, 1}};
  for (int k = 0; k < 10; ++k) {
    labels_[k] = new QLabel(this);
    labels_[k]->setObjectName(kLabelNames[k]);
    labels_[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edits_[k] = new QLineEdit(this);
    edits_[k]->setObjectName(kEditNames[k]);
    edits_[k]->setMinimumWidth(130);
    coords->addWidget(labels_[k], place[k][0], place[k][1] * 2);
    coords->addWidget(edits_[k], place[k][0], place[k][1] * 2 + 1);
  }
  return coords;
}

// 投影面选择 with the height of a user-defined plane.
QGroupBox* StartDialog::buildPlaneOptions() {
  auto* planeFrame = new QGroupBox(QString::fromUtf8("投影面选择"), this);
  auto* planeRow = new QHBoxLayout(planeFrame);
  optionCqpj_ = MakeOption(planeFrame, "Option_cqpj", "测区平均高程面");
  optionZdy_ = MakeOption(planeFrame, "Option_zdy", "自定义");
  edits_[10] = new QLineEdit(planeFrame);
  edits_[10]->setObjectName(kEditNames[10]);
  edits_[10]->setFixedWidth(90);
  labelDw_ = new QLabel(QString::fromUtf8("米"), planeFrame);
  labelDw_->setObjectName("Label_dw");
  planeRow->addWidget(optionCqpj_);
  planeRow->addWidget(optionZdy_);
  planeRow->addWidget(edits_[10]);
  planeRow->addWidget(labelDw_);
  planeRow->addStretch();
  return planeFrame;
}

// 是否录入测距仪常数 with the two constants.
QGroupBox* StartDialog::buildConstantOptions() {
  auto* edmFrame = new QGroupBox(QString::fromUtf8("是否录入测距仪常数"), this);
  auto* edmRow = new QHBoxLayout(edmFrame);
  optionOk_ = MakeOption(edmFrame, "Option_ok", "是");
  optionNo_ = MakeOption(edmFrame, "Option_no", "否");
  edits_[11] = new QLineEdit(edmFrame);
  edits_[11]->setObjectName(kEditNames[11]);
  edits_[11]->setFixedWidth(60);
  labelJia_ = new QLabel("+", edmFrame);
  labelJia_->setObjectName("Label_jia");
  edits_[12] = new QLineEdit(edmFrame);
  edits_[12]->setObjectName(kEditNames[12]);
  edits_[12]->setFixedWidth(60);
  labelPpm_ = new QLabel("ppm", edmFrame);
  labelPpm_->setObjectName("Label_ppm");
  edmRow->addWidget(optionOk_);
  edmRow->addWidget(optionNo_);
  edmRow->addWidget(edits_[11]);
  edmRow->addWidget(labelJia_);
  edmRow->addWidget(edits_[12]);
  edmRow->addWidget(labelPpm_);
  edmRow->addStretch();
  return edmFrame;
}

// The four buttons along the bottom.
QHBoxLayout* StartDialog::buildButtons() {
  auto* buttons = new QHBoxLayout;
  const std::pair<const char*, const char*> buttonNames[4] = {{"Command_ok", "确定"},
                                                              {"Command1", "全部重输"},
                                                              {"Command_dq", "接上次输入"},
                                                              {"Command_tuichu", "退出输入"}};
  QPushButton* made[4];
  for (int i = 0; i < 4; ++i) {
    made[i] = new QPushButton(QString::fromUtf8(buttonNames[i].second), this);
    made[i]->setObjectName(buttonNames[i].first);
    made[i]->setAutoDefault(false);
    made[i]->setMinimumWidth(110);
    buttons->addWidget(made[i]);
  }
  connect(made[0], &QPushButton::clicked, this, &StartDialog::confirm);
  connect(made[1], &QPushButton::clicked, this, &StartDialog::clearAll);
  connect(made[2], &QPushButton::clicked, this, &StartDialog::reloadLast);
  connect(made[3], &QPushButton::clicked, this, &StartDialog::unload);
  auto* fromList = new QPushButton(QString::fromUtf8("从坐标文件读入…"), this);
  fromList->setObjectName("Command_dzb");
  fromList->setAutoDefault(false);
  connect(fromList, &QPushButton::clicked, this, &StartDialog::readFromList);
  buttons->addWidget(fromList);
  return buttons;
}

void StartDialog::connectOptions() {
  // Each pair of options is a group of its own.
  for (auto pair : {std::pair{optionSd_, optionDf_}, std::pair{optionCqpj_, optionZdy_},
                    std::pair{optionOk_, optionNo_}}) {
    auto* group = new QButtonGroup(this);
    group->addButton(pair.first);
    group->addButton(pair.second);
  }
  connect(optionSd_, &QRadioButton::toggled, this, [this](bool on) {
    if (applying_ || !on) return;
    ApplyDataOption(layout_, dialogKind(), false);
    applyLayout();
  });
  connect(optionDf_, &QRadioButton::toggled, this, [this](bool on) {
    if (applying_ || !on) return;
    ApplyDataOption(layout_, dialogKind(), true);
    applyLayout();
  });
  connect(optionZdy_, &QRadioButton::toggled, this, [this](bool on) {
    if (applying_) return;
    layout_.projectionShown = on;
    applyLayout();
  });
  connect(optionOk_, &QRadioButton::toggled, this, [this](bool on) {
    if (applying_) return;
    layout_.constantsShown = on;
    applyLayout();
  });
}

formats::TraverseKind StartDialog::dialogKind() const {
  return traverse::KindFromDialogTitle(layout_.title).value_or(formats::TraverseKind::Connecting);
}

void StartDialog::applyLayout() {
  applying_ = true;
  setWindowTitle(QString::fromStdString(layout_.title));
  optionSd_->setText(QString::fromStdString(layout_.optionSdCaption));
  optionDf_->setText(QString::fromStdString(layout_.optionDfCaption));
  optionDf_->setVisible(layout_.optionDfVisible);
  (layout_.optionDfSelected ? optionDf_ : optionSd_)->setChecked(true);
  for (int k = 0; k < 10; ++k) {
    labels_[k]->setText(QString::fromStdString(layout_.captions[k]));
    labels_[k]->setVisible(layout_.shown[k]);
    edits_[k]->setVisible(layout_.shown[k]);
  }
  (layout_.projectionShown ? optionZdy_ : optionCqpj_)->setChecked(true);
  edits_[10]->setVisible(layout_.projectionShown);
  labelDw_->setVisible(layout_.projectionShown);
  (layout_.constantsShown ? optionOk_ : optionNo_)->setChecked(true);
  for (QWidget* w : {static_cast<QWidget*>(edits_[11]), static_cast<QWidget*>(edits_[12]),
                     static_cast<QWidget*>(labelJia_), static_cast<QWidget*>(labelPpm_)}) {
    w->setVisible(layout_.constantsShown);
  }
  applying_ = false;
}

void StartDialog::load(formats::TraverseKind kind) {
  layout_ = traverse::StartDialogLayout();
  ConfigureOnLoad(layout_, kind);
  for (QLineEdit* edit : edits_) edit->clear();
  applyLayout();
  loaded_ = true;
}

void StartDialog::selectKind(formats::TraverseKind kind) {
  if (!loaded_) load(kind);
  ApplyKindSelection(layout_, kind);
  applyLayout();
}

void StartDialog::open(formats::TraverseKind kind) {
  if (!loaded_) load(kind);
  if (!isVisible()) {
    adjustSize();
    show();
    CentreOnScreen(this);
  }
  raise();
  activateWindow();
  edits_[0]->setFocus();
}

void StartDialog::unload() {
  loaded_ = false;
  hide();
}

formats::StartRecord StartDialog::fields() const {
  formats::StartRecord record;
  for (int k = 1; k <= formats::kStartRecordCount; ++k) record.record(k) = edits_[k - 1]->text().toStdString();
  return record;
}

formats::StartRecord StartDialog::fieldsToSave() const {
  formats::StartRecord record = fields();
  ClearHiddenFields(layout_, record);
  return record;
}

void StartDialog::confirm() {
  const formats::StartRecord record = fieldsToSave();
  if (auto refusal = ValidateStartDialog(layout_, record)) {
    messages_.inform(this, *refusal);
    edits_[refusal->record - 1]->setFocus();
    return;
  }
  const std::string error = WriteStartFile(startFilePath_.toStdString(), record);
  if (!error.empty()) {
    messages_.inform(this, Message{"起始数据文件无法保存：" + startFilePath_.toStdString() +
                                       "\n" + error,
                                   "请检查", MessageIcon::Warning});
    return;
  }
  emit handedOver(dialogKind());
  unload();
}

void StartDialog::clearAll() {
  for (QLineEdit* edit : edits_) edit->clear();
}

void StartDialog::reloadLast() {
  const formats::StartRecord saved = formats::ReadStartFile(startFilePath_.toStdString());
  // Saved constants or a saved projection height bring their option with
  // them, so that 确定 does not save them away empty.
  auto held = [&](formats::StartItem item) { return !Trim(saved.record(item)).empty(); };
  if (held(formats::StartItem::ProjectionHeight)) layout_.projectionShown = true;
  if (held(formats::StartItem::AdditiveConstant) || held(formats::StartItem::ScaleConstant)) layout_.constantsShown = true;
  applyLayout();
  for (int k = 1; k <= formats::kStartRecordCount; ++k) {
    if (k <= 4 || layout_.recordShown(k)) {
      edits_[k - 1]->setText(QString::fromStdString(DialogReloadText(saved, k)));
    }
  }
}

void StartDialog::readFromList() {
  const std::optional<std::vector<exporting::FigurePoint>> list = OpenCoordinateList({this, messages_, files_, listFolder_});
  if (!list) return;
  if (list->empty()) {
    messages_.inform(this, Message{"坐标文件中没有点！", "提示", MessageIcon::Information});
    return;
  }
  // The roles whose X and Y the dialog shows (an azimuth instead of an
  // orientation point is typed, not read).
  std::vector<const StartRole*> roles;
  for (const StartRole& role : kStartRoles)
    if (layout_.recordShown(role.x) && layout_.recordShown(role.y)) roles.push_back(&role);
  delete picker_;
  picker_ = new ListPointPicker(this, *list, roles);
  connect(picker_, &QDialog::accepted, this, &StartDialog::fillFromPicker);
  connect(picker_, &QDialog::finished, picker_, &QObject::deleteLater);
  connect(picker_, &QObject::destroyed, this, [this] { picker_ = nullptr; });
  picker_->open();
}

void StartDialog::fillFromPicker() {
  auto set = [this](int record, double value) {
    edits_[record - 1]->setText(QString::fromStdString(exporting::Metres(value)));
  };
  for (const StartRole* role : picker_->roles()) {
    const std::optional<exporting::FigurePoint> p = picker_->chosen(*role);
    if (!p) continue;
    set(role->x, p->x);
    set(role->y, p->y);
    // A list point without a height leaves the height typed.
    if (role->h && p->h && layout_.recordShown(role->h)) set(role->h, *p->h);
  }
}

bool StartDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const QString text = key->text();
    // Navigation and editing keys that type no character are left alone.
    if (text.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
        key->key() == Qt::Key_Delete) {
      return QDialog::eventFilter(watched, event);
    }
    const char32_t code = text.toUcs4().value(0);
    switch (traverse::FilterStartKey(code)) {
      case traverse::KeyAction::Accept:
        break;
      case traverse::KeyAction::NextField:
        focusNextChild();
        return true;
      case traverse::KeyAction::Reject:
        messages_.inform(this, traverse::WrongKeyMessage());
        return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void StartDialog::closeEvent(QCloseEvent* event) {
  // Closing by the frame leaves the dialog like "退出输入".
  loaded_ = false;
  QDialog::closeEvent(event);
}

void StartDialog::keyPressEvent(QKeyEvent* event) {
  // Escape and Enter do not close this dialog; only its buttons do.
  if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
      event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace korvane::ui
