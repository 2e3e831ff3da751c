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

QStringList PdfSansFamilies() { return {"WenQuanYi Micro Hei", "WenQuanYi Zen Hei"}; }

QStringList PdfMonoFamilies() { return {"WenQuanYi Micro Hei Mono", "WenQuanYi Zen Hei Mono"}; }

}  // namespace korvane
