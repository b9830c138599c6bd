// Reading a model file through the Open Asset Import Library, with the post-processing the
// conversion relies on: polygons split into triangles, points and lines dropped.
#pragma once

#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include <string>

namespace vxmconv {

// Sets up an importer the way the conversion reads files (shared with the benchmark, so that
// the import it is measured against is the same one).
void configure_importer(Assimp::Importer& importer);
unsigned import_flags();

// The scene of a model file. Throws ConversionError when the file cannot be opened, is of no
// format the library reads, or the library cannot make sense of it.
class ImportedScene {
public:
    explicit ImportedScene(const std::string& path);

    const aiScene& scene() const { return *scene_; }
    // Frees the scene before the importer goes, once its data has been taken.
    void release();

private:
    Assimp::Importer importer_;
    const aiScene* scene_ = nullptr;
};

}  // namespace vxmconv
