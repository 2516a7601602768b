#include "ui/designer/picture_files.h"

#include "engine/model/text_utils.h"

namespace dv::ui {

std::string GetFileExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return {};
    if (path.find_first_of("/\\", dot) != std::string::npos) return {};
    return path.substr(dot + 1);
}

std::string MiniFileName(const std::string& path) {
    const std::string extension = GetFileExtension(path);
    if (extension.empty()) return path + "-mini";
    return path.substr(0, path.size() - extension.size() - 1) + "-mini." + extension;
}

std::string BareFileName(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderWithSeparator(const std::string& folder) {
    std::string text = folder + "/";
    ReplaceAll(text, "//", "/");
    return text;
}

}  // namespace dv::ui
