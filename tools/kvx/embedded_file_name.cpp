#include "tools/kvx/embedded_file_name.h"

#include "platform/files.h"

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

Status ReadEmbeddedFile(const std::filesystem::path& folder, const std::string& name, std::size_t max_bytes,
                        std::string& out) {
    namespace fs = std::filesystem;
    const fs::path path = folder / name;
    std::error_code ec;
    if (fs::is_symlink(path, ec)) {
        const fs::path target = fs::weakly_canonical(path, ec);
        std::error_code folder_ec;
        if (ec || target.parent_path() != fs::weakly_canonical(folder, folder_ec) || folder_ec)
            return Status::Fail("\"" + path.string() +
                                "\" is a link to a file outside its folder; put the file itself there");
    }
    return ReadWholeFile(path, out, max_bytes);
}

}  // namespace kvt::kvx
