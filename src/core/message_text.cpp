#include "core/message_text.h"

#include <cerrno>
#include <new>
#include <system_error>

#include "core/text_utils.h"

namespace korvane {

std::string SystemErrorText(int error) {
  switch (error) {
    case ENOENT: return "没有那个文件或目录";
    case EACCES:
    case EPERM: return "权限不够";
    case ENOSPC: return "磁盘已满";
    case EDQUOT: return "超出磁盘配额";
    case EROFS: return "只读文件系统";
    case EISDIR: return "是一个目录";
    case ENOTDIR: return "路径中有一项不是目录";
    case EEXIST: return "文件已存在";
    case ENOTEMPTY: return "目录不是空的";
    case EIO: return "输入输出错误";
    case ENAMETOOLONG: return "文件名太长";
    case ELOOP: return "符号链接层数过多";
    case EMFILE:
    case ENFILE: return "打开的文件过多";
    case ENOMEM: return "内存不足";
    case EFBIG: return "文件太大";
    case EBUSY: return "设备或资源忙";
    case ETXTBSY: return "文件正在使用";
    case EXDEV: return "不能跨文件系统移动";
    case ENXIO:
    case ENODEV: return "没有那个设备";
    case EAGAIN: return "资源暂时不可用";
    case EINTR: return "操作被中断";
    case EPIPE: return "管道已断开";
    case ESTALE: return "网络文件句柄已失效";
    case ETIMEDOUT: return "连接超时";
    case EINVAL: return "参数无效";
    case 0: return "未知原因";
    default: return "系统错误" + std::to_string(error);
  }
}

std::string ExceptionText(const std::exception& failure) {
  if (dynamic_cast<const std::bad_alloc*>(&failure)) return "内存不足";
  if (const auto* system = dynamic_cast<const std::system_error*>(&failure)) {
    const std::error_category& category = system->code().category();
    if (category == std::generic_category() || category == std::system_category())
      return SystemErrorText(system->code().value());
  }
  return "程序内部错误";
}

std::string Quoted(std::string_view text) {
  std::string piece = CharCount(text) > kMaxQuotedChars ? LeftChars(text, kMaxQuotedChars - 1) + "…"
                                                        : std::string(text);
  for (char& c : piece)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return piece;
}

}  // namespace korvane
