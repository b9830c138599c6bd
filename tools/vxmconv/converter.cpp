#include "converter.h"

#include <cctype>
#include <exception>
#include <filesystem>
#include <new>

#include "conversion_error.h"
#include "engine_files.h"
#include "model_export.h"
#include "progress_line.h"
#include "scene_import.h"
#include "scene_to_model.h"

namespace vxmconv {

namespace {

bool names_mesh_file(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".vxm";
}

// A model written for modelling tools keeps a part (a mesh and material) per placed mesh, as a
// description does; a single mesh file takes the whole scene as one.
Model read_model(const Options& options, EngineFileKind kind, bool part_per_mesh,
                 ProgressLine& progress) {
    if (kind != EngineFileKind::kNone) {
        if (options.frames > 0)
            throw UsageError("--frames samples the animation of a modelling tool's file; " +
                             options.input + " is a mesh file of the engine");
        return read_engine_file(options.input, kind);
    }
    ImportedScene imported(options.input);
    progress.enable(count_placed_triangles(imported.scene()) > kProgressTriangles);
    BuildSettings settings;
    settings.scale = options.scale;
    settings.up = options.up;
    settings.flip_winding = options.flip_winding;
    settings.frames = options.frames;
    settings.part_per_mesh = part_per_mesh;
    settings.model_path = options.input;
    Model model = build_model(imported.scene(), settings, progress);
    imported.release();
    return model;
}

}  // namespace

void convert(const Options& options, std::FILE* messages) {
    const EngineFileKind kind = engine_file_kind(options.input);
    const bool engine_output = names_mesh_file(options.output) || options.text || options.multi;
    if (!engine_output) export_format_for(options.output);  // an unknown ending fails early

    ProgressLine progress(messages, options.input);
    Model model = read_model(options, kind, options.multi || !engine_output, progress);
    const bool from_engine = kind != EngineFileKind::kNone;

    std::vector<std::string> notes = model.notes;
    progress.stage("writing", 0);
    if (engine_output) {
        if (from_engine) {
            // A mesh of the engine is already in the engine's axes and winding.
            for (ModelPart& part : model.parts) {
                if (options.scale != 1)
                    vexel::scale_mesh(part.mesh, options.scale, options.scale, options.scale);
                if (options.flip_winding) reverse_winding(part.mesh);
            }
        }
        write_engine_files(model, options.output, {options.text, options.multi}, notes);
    } else {
        // A model read from a modelling tool's file was scaled and turned on the way in.
        ExportSettings settings;
        settings.scale = from_engine ? options.scale : 1;
        settings.up = options.up;
        settings.flip_winding = options.flip_winding;
        export_model(model, options.output, settings, notes);
    }
    progress.stage("done", 0);
    progress.finish();
    for (const std::string& note : notes)
        std::fprintf(messages, "vxmconv: note: %s\n", note.c_str());
}

int run_command_line(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
    Options options;
    try {
        options = parse_command_line(arguments);
        if (options.help) {
            std::fputs(usage_text(), out);
            return 0;
        }
        convert(options, err);
        return 0;
    } catch (const UsageError& error) {
        std::fprintf(err, "vxmconv: %s\n(vxmconv --help lists the options)\n", error.what());
        return 2;
    } catch (const ConversionError& error) {
        std::fprintf(err, "vxmconv: %s\n", error.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(err, "vxmconv: %s: out of memory\n", options.input.c_str());
    } catch (const std::exception& error) {
        std::fprintf(err, "vxmconv: %s: %s\n", options.input.c_str(), error.what());
    }
    return 1;
}

}  // namespace vxmconv
