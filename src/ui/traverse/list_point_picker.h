#pragma once
// The picker of the start-data dialog: which point of a coordinate list is
// 起点, 起点定向, 终点 and 终点定向. One choice box per role the dialog
// shows, each offering "不选" and the list's points by name.
#include <QDialog>
#include <optional>
#include <vector>

#include "export/figure.h"

class QComboBox;

namespace korvane::ui {

// A role of the start data: its choice box and the records (1..13) of its
// X, Y and H boxes (0: the role has no height).
struct StartRole {
  const char* box;
  const char* caption;
  int x, y, h;
};
inline constexpr StartRole kStartRoles[] = {
    {"Combo_qd", "起点", 1, 2, 3},
    {"Combo_qddx", "起点定向", 4, 5, 0},
    {"Combo_zd", "终点", 6, 7, 8},
    {"Combo_zddx", "终点定向", 9, 10, 0},
};

class ListPointPicker : public QDialog {
  Q_OBJECT
 public:
  // `roles` are the roles asked, pointers into kStartRoles.
  ListPointPicker(QWidget* parent, std::vector<exporting::FigurePoint> points, std::vector<const StartRole*> roles);

  const std::vector<const StartRole*>& roles() const { return roles_; }
  // The list point chosen for the role, none for "不选".
  std::optional<exporting::FigurePoint> chosen(const StartRole& role) const;

 private:
  std::vector<exporting::FigurePoint> points_;
  std::vector<const StartRole*> roles_;
  std::vector<QComboBox*> boxes_;
};

}  // namespace korvane::ui
