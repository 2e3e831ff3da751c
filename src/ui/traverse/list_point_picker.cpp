#include "ui/traverse/list_point_picker.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "export/point_list.h"

namespace korvane::ui {
namespace {

// A point as its entry shows it: the name, then X and Y to the millimetre.
QString Entry(const exporting::FigurePoint& p) {
  return QString::fromStdString(p.name + "  (" + exporting::Metres(p.x) + ", " + exporting::Metres(p.y) + ")");
}

}  // namespace

ListPointPicker::ListPointPicker(QWidget* parent, std::vector<exporting::FigurePoint> points,
                                 std::vector<const StartRole*> roles)
    : QDialog(parent), points_(std::move(points)), roles_(std::move(roles)) {
  setObjectName("Form_xzd");
  setWindowTitle(QString::fromUtf8("选择坐标文件中的点"));
  auto* column = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  for (const StartRole* role : roles_) {
    auto* box = new QComboBox(this);
    box->setObjectName(role->box);
    box->addItem(QString::fromUtf8("不选"));
    for (const exporting::FigurePoint& p : points_) box->addItem(Entry(p));
    form->addRow(QString::fromUtf8(role->caption) + QString::fromUtf8("："), box);
    boxes_.push_back(box);
  }
  column->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("确定"));
  buttons->button(QDialogButtonBox::Ok)->setObjectName("Command_ok");
  buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("Command_qx");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
}

std::optional<exporting::FigurePoint> ListPointPicker::chosen(const StartRole& role) const {
  for (std::size_t i = 0; i < roles_.size(); ++i) {
    if (roles_[i] != &role) continue;
    const int index = boxes_[i]->currentIndex();
    if (index <= 0) return std::nullopt;
    return points_[static_cast<std::size_t>(index - 1)];
  }
  return std::nullopt;
}

}  // namespace korvane::ui
