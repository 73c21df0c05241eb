#include "documents/LineMarks.h"

namespace tw {

std::string MarkCaption(std::string_view entry, int32_t row) {
    std::string caption(entry.substr(0, 20));
    caption += "....  ";
    caption += std::to_string(row);
    caption += "\x8d\x73\x96\xda";  // 行目
    return caption;
}

}  // namespace tw
