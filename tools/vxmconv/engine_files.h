// The engine's own mesh files on both sides of a conversion: reading a binary mesh, a "VXMA"
// text mesh or a ";VXW" description into the model, and writing the model as one of them.
#pragma once

#include <string>
#include <vector>

#include "model.h"

namespace vxmconv {

enum class EngineFileKind { kNone, kBinary, kText, kDescription };

// What the file's first bytes make of it; kNone for anything else (a model of a modelling tool).
// Throws ConversionError when the file cannot be opened.
EngineFileKind engine_file_kind(const std::string& path);

// One part per mesh, with the textures a description names. Throws ConversionError when a mesh
// cannot be read.
Model read_engine_file(const std::string& path, EngineFileKind kind);

struct EngineWriteSettings {
    bool text = false;   // "VXMA" instead of binary
    bool multi = false;  // one mesh file per part and the description at the output's name
};

// Writes the model at `output`: all parts as one mesh, or with multi a mesh file per part
// ("<name>_1.vxm", ...) beside a ";VXW" description with the textures, which are referred to
// where they lie or, when the model carries them inside, written beside it. Throws
// ConversionError for textures that cannot be found and files that cannot be written; what
// had to be left out goes to notes.
void write_engine_files(Model& model, const std::string& output,
                        const EngineWriteSettings& settings, std::vector<std::string>& notes);

// The stream turned around: every triangle of every frame as an independent triangle with its
// corners in the other order.
void reverse_winding(vexel::MeshObjectX& mesh);

}  // namespace vxmconv
