#include "scene_import.h"

#include <assimp/postprocess.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "conversion_error.h"

namespace vxmconv {

namespace {

// Opening the file first gives "no such file" and "permission denied" in the system's words,
// where the library would only say that no reader took it.
void check_readable(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw ConversionError(path + ": is a folder, not a model file");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw ConversionError(path + ": cannot open: " + std::strerror(errno));
    std::fclose(file);
}

std::string extension_of(const std::string& path) {
    return std::filesystem::path(path).extension().string();
}

}  // namespace

void configure_importer(Assimp::Importer& importer) {
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE,
                                aiPrimitiveType_POINT | aiPrimitiveType_LINE);
}

unsigned import_flags() {
    return aiProcess_Triangulate | aiProcess_SortByPType;
}

ImportedScene::ImportedScene(const std::string& path) {
    check_readable(path);
    configure_importer(importer_);
    scene_ = importer_.ReadFile(path, import_flags());
    if (scene_) return;
    const std::string extension = extension_of(path);
    if (extension.empty() || !importer_.IsExtensionSupported(extension))
        throw ConversionError(path + ": not a model format the Open Asset Import Library reads (" +
                              importer_.GetErrorString() + ")");
    throw ConversionError(path + ": cannot read the model: " + importer_.GetErrorString());
}

void ImportedScene::release() {
    importer_.FreeScene();
    scene_ = nullptr;
}

}  // namespace vxmconv
