#include "tools/kvx/embedded_file_name.h"

namespace kvt::kvx {

std::string EmbeddedFileNameFault(std::string_view name) {
    if (name.empty()) return "the file name is empty";
    if (name.find('/') != std::string_view::npos) return "the file name contains '/'";
    if (name.find("..") != std::string_view::npos) return "the file name contains \"..\"";
    if (name.front() == '.') return "the file name starts with '.'";
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return "the file name contains a control character";
    }
    return {};
}

}  // namespace kvt::kvx
