#include "texture_files.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "conversion_error.h"
#include "file_paths.h"

namespace vxmconv {

std::string picture_file_name(const ModelTexture& texture, size_t number,
                              const std::filesystem::path& folder, const std::string& stem) {
    if (!texture.path.empty()) return name_relative_to(texture.path, folder);
    if (texture.embedded.empty()) return {};
    const std::string name =
        stem + "_texture" + std::to_string(number) + "." + texture.embedded_extension;
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(texture.embedded.data()),
              static_cast<std::streamsize>(texture.embedded.size()));
    if (!out.flush())
        throw ConversionError((folder / name).string() + ": cannot write: " + std::strerror(errno));
    return name;
}

}  // namespace vxmconv
