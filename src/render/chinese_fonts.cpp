#include "render/chinese_fonts.h"

namespace korvane::render {

QStringList ChineseSansFamilies() {
  return {"Noto Sans CJK SC", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei", "Droid Sans Fallback"};
}

QStringList ChineseMonoFamilies() {
  return {"Noto Sans Mono CJK SC", "WenQuanYi Zen Hei Mono", "WenQuanYi Micro Hei Mono"};
}

QStringList ChineseKaiFamilies() {
  return QStringList{"AR PL UKai CN", "KaiTi", "STKaiti", "Noto Serif CJK SC"} + ChineseSansFamilies();
}

}  // namespace korvane::render
