// The pictures a converted model refers to, as files beside what the conversion writes.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "model.h"

namespace vxmconv {

// The name under which a file written in `folder` finds the picture: where the picture lies, or,
// for a picture the model carries inside, "<stem>_texture<number>.<ext>", written into the
// folder first. Empty for a texture without a picture file (not found, or bare texels). Throws
// ConversionError when the picture cannot be written.
std::string picture_file_name(const ModelTexture& texture, size_t number,
                              const std::filesystem::path& folder, const std::string& stem);

}  // namespace vxmconv
