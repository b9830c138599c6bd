// Writing the model as a file for modelling tools, through the Open Asset Import Library's
// exporters: frame 0 of every part, in the modelling tools' axes and winding.
#pragma once

#include <string>
#include <vector>

#include "command_line.h"
#include "model.h"

namespace vxmconv {

struct ExportSettings {
    float scale = 1;
    UpAxis up = UpAxis::kZ;     // the model's up axis; z is turned back into y
    bool flip_winding = false;  // keep the engine's clockwise order
};

// The exporter for the output's file-name ending. Throws ConversionError for an ending no
// exporter writes.
std::string export_format_for(const std::string& output);

// Throws ConversionError when the model has no triangles or the exporter fails.
void export_model(const Model& model, const std::string& output, const ExportSettings& settings,
                  std::vector<std::string>& notes);

}  // namespace vxmconv
