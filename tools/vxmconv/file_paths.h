// File names as the conversion passes them on: folders of files, and names relative to them.
#pragma once

#include <filesystem>
#include <string>

namespace vxmconv {

// The folder a file lies in; "." for a bare name.
inline std::filesystem::path folder_of(const std::string& file) {
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// The file's name as seen from the folder, so that a file written there can refer to it.
inline std::string name_relative_to(const std::string& file, const std::filesystem::path& folder) {
    const std::filesystem::path base = std::filesystem::absolute(folder).lexically_normal();
    return std::filesystem::absolute(file).lexically_normal().lexically_relative(base).string();
}

}  // namespace vxmconv
