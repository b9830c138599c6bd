#include "engine_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include <vexel/dyn_string.h>

#include "colour_reduction.h"
#include "conversion_error.h"
#include "file_paths.h"
#include "mesh/mesh_file.h"
#include "mesh/multi_mesh.h"
#include "mesh/section_file.h"
#include "mesh/triangulation.h"
#include "text_mesh_writer.h"
#include "texture_files.h"

namespace vxmconv {

namespace {

namespace fs = std::filesystem;
using vexel::MeshObjectX;
using vexel::MeshVertex;

constexpr size_t kSniffBytes = 4096;

std::string first_bytes(const std::string& path, size_t count) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ConversionError(path + ": cannot open: " + std::strerror(errno));
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

// The first word of a text, past blanks and '#' comments.
bool starts_with_word(const std::string& text, const char* word) {
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else {
            break;
        }
    }
    const size_t length = std::strlen(word);
    if (text.compare(i, length, word) != 0) return false;
    const size_t after = i + length;
    return after == text.size() || std::strchr(" \t\r\n#", text[after]) != nullptr;
}

uint32_t little_u32(const std::string& bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[static_cast<size_t>(i)]);
    return value;
}

// Why the engine's reader refused a binary mesh, in words.
std::string binary_failure(const std::string& path) {
    const std::string header = first_bytes(path, 12);
    if (header.size() == 12) {
        double version = 0;
        std::memcpy(&version, header.data() + 4, sizeof version);
        if (!(version >= vexel::kOldestMeshVersion && version <= vexel::kMeshVersion)) {
            char text[128];
            std::snprintf(text, sizeof text, "mesh file version %.4g; the engine reads 1.02 to 2.0",
                          version);
            return path + ": " + text;
        }
    }
    return path + ": a damaged or truncated mesh file";
}

void read_one_mesh(const std::string& path, MeshObjectX& mesh) {
    if (vexel::read_mesh_file(path.c_str(), mesh) && !mesh.frames.empty() &&
        !mesh.frames[0].build_stream.empty())
        return;
    const EngineFileKind kind = engine_file_kind(path);
    if (kind == EngineFileKind::kBinary) throw ConversionError(binary_failure(path));
    if (kind == EngineFileKind::kText)
        throw ConversionError(path + ": a damaged \"VXMA\" text mesh, or one above version 1.1");
    throw ConversionError(path + ": not a mesh file of the engine");
}

Model read_description(const std::string& path) {
    vexel::SectionFile description;
    if (!description.read(path.c_str()))
        throw ConversionError(path + ": cannot open: " + std::strerror(errno));
    const fs::path folder = folder_of(path);
    const auto count = [&description](const char* section) {
        return std::clamp(vexel::text_to_int(description.get(section, "count")), 0,
                          vexel::kMaxMultiMeshEntries);
    };
    Model model;
    for (int32_t i = 1; i <= count("textures"); ++i) {
        ModelTexture texture;
        texture.name = description.get("textures", std::to_string(i).c_str()).c_str();
        const fs::path file = folder / texture.name;
        std::error_code error;
        if (fs::is_regular_file(file, error)) {
            texture.path = file.string();
        } else {
            texture.looked_for = file.string();
        }
        model.textures.push_back(texture);
    }
    const auto texture_index = [&](int32_t mesh, const char* suffix) {
        const std::string key = std::to_string(mesh) + suffix;
        const int32_t number = vexel::text_to_int(description.get("objects", key.c_str()));
        // Numbers count from 1; 0 keeps meaning the first texture, as the engine reads it.
        const int32_t index = number > 0 ? number - 1 : number;
        return index >= 0 && index < static_cast<int32_t>(model.textures.size()) ? index : -1;
    };
    const int32_t meshes = count("objects");
    model.parts.resize(static_cast<size_t>(meshes));
    for (int32_t i = 1; i <= meshes; ++i) {
        ModelPart& part = model.parts[static_cast<size_t>(i - 1)];
        const std::string name = description.get("objects", std::to_string(i).c_str()).c_str();
        read_one_mesh((folder / name).string(), part.mesh);
        part.texture_a = texture_index(i, "ta");
        part.texture_b = texture_index(i, "tb");
    }
    if (model.parts.empty()) throw ConversionError(path + ": the description lists no meshes");
    return model;
}

// The parts one after the other in a single mesh; each part's stream starts with its marker.
MeshObjectX merged_parts(Model& model, const std::string& output) {
    if (model.parts.size() == 1) return std::move(model.parts[0].mesh);
    MeshObjectX merged;
    merged.frames.resize(model.parts[0].mesh.frames.size());
    for (ModelPart& part : model.parts) {
        if (part.mesh.frames.size() != merged.frames.size())
            throw ConversionError(output +
                                  ": the meshes have different numbers of frames, so "
                                  "they cannot become one mesh; use --multi");
        for (size_t f = 0; f < merged.frames.size(); ++f) {
            std::vector<MeshVertex>& into = merged.frames[f].build_stream;
            const std::vector<MeshVertex>& from = part.mesh.frames[f].build_stream;
            into.insert(into.end(), from.begin(), from.end());
        }
    }
    merged.normals_valid = 1;
    fit_colours_to_palette(merged);
    vexel::build_palette(merged);
    return merged;
}

void write_mesh(const std::string& path, const MeshObjectX& mesh, bool text,
                std::vector<std::string>& notes) {
    if (text) {
        if (write_text_mesh(path, mesh).colours_merged)
            notes.push_back(path +
                            ": the text variant holds one colour a triangle; triangles "
                            "whose corners differed take their first corner's");
        return;
    }
    if (!vexel::write_mesh_file(path.c_str(), mesh))
        throw ConversionError(path + ": cannot write: " + std::strerror(errno));
}

bool starts_with(const std::string& bytes, const char* magic, size_t length) {
    return bytes.size() >= length && bytes.compare(0, length, magic, length) == 0;
}

bool engine_reads_picture(const std::string& bytes) {
    return starts_with(bytes, "BM", 2) || starts_with(bytes, "\x89PNG", 4) ||
           starts_with(bytes, "\xFF\xD8", 2);
}

uint32_t big_endian(const std::string& bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

// Width and height from a picture's header (PNG, BMP, or a JPEG frame header within the
// bytes given); 0, 0 when they are not there.
std::pair<uint32_t, uint32_t> picture_size(const std::string& bytes) {
    if (starts_with(bytes, "\x89PNG", 4) && bytes.size() >= 24)
        return {big_endian(bytes, 16, 4), big_endian(bytes, 20, 4)};
    if (starts_with(bytes, "BM", 2) && bytes.size() >= 26) {
        int32_t width = 0, height = 0;
        std::memcpy(&width, bytes.data() + 18, 4);
        std::memcpy(&height, bytes.data() + 22, 4);
        return {static_cast<uint32_t>(std::abs(width)), static_cast<uint32_t>(std::abs(height))};
    }
    for (size_t at = 2; starts_with(bytes, "\xFF\xD8", 2) && at + 9 <= bytes.size();) {
        const uint8_t marker = static_cast<uint8_t>(bytes[at + 1]);
        if (static_cast<uint8_t>(bytes[at]) != 0xFF) break;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return {big_endian(bytes, at + 7, 2), big_endian(bytes, at + 5, 2)};
        at += 2 + big_endian(bytes, at + 2, 2);
    }
    return {0, 0};
}

bool power_of_two(uint32_t n) {
    return n >= 16 && (n & (n - 1)) == 0;
}

// The engine keeps a picture in the corner of a power-of-two texture, so a model's texture
// coordinates, which span the whole texture, meet the picture only when it fills it.
void check_texture(const ModelTexture& texture, const std::string& head,
                   std::vector<std::string>& notes) {
    if (!engine_reads_picture(head)) {
        notes.push_back("texture \"" + texture.name +
                        "\": the engine reads BMP, PNG and JPEG pictures only, so it will draw "
                        "without it");
        return;
    }
    const auto [width, height] = picture_size(head);
    if (width && height && (!power_of_two(width) || !power_of_two(height)))
        notes.push_back("texture \"" + texture.name + "\" is " + std::to_string(width) + " x " +
                        std::to_string(height) +
                        ": the engine maps a model's texture coordinates over a power-of-two "
                        "texture (16, 32, 64, ...), so resize the picture to one");
}

// Where each texture goes in the description: the name, relative to the description's folder,
// of the picture file, written there first when the model carried it inside. -1 for textures
// that are left out.
std::vector<std::string> place_textures(const Model& model, const fs::path& folder,
                                        const std::string& stem, std::vector<std::string>& notes) {
    for (const ModelTexture& texture : model.textures) {
        if (!texture.found() && !texture.raw_texels)
            throw ConversionError("texture \"" + texture.name + "\" not found (looked for " +
                                  texture.looked_for + ")");
    }
    std::vector<std::string> names;
    for (size_t i = 0; i < model.textures.size(); ++i) {
        const ModelTexture& texture = model.textures[i];
        names.push_back(picture_file_name(texture, i + 1, folder, stem));
        if (texture.raw_texels) {
            notes.push_back("texture \"" + texture.name +
                            "\" is carried as bare texels, which no picture file holds: left out");
            continue;
        }
        const std::string head =
            texture.embedded.empty()
                ? first_bytes(texture.path, kSniffBytes)
                : std::string(reinterpret_cast<const char*>(texture.embedded.data()),
                              std::min<size_t>(texture.embedded.size(), kSniffBytes));
        check_texture(texture, head, notes);
    }
    return names;
}

void write_description(const Model& model, const std::string& output, bool text,
                       std::vector<std::string>& notes) {
    const fs::path folder = folder_of(output);
    const std::string stem = fs::path(output).stem().string();
    const std::vector<std::string> texture_names = place_textures(model, folder, stem, notes);

    std::string description = std::string(vexel::kMultiMeshTag) + " written by vxmconv\n";
    // Entries count from 1; -1 says "no texture" (an absent key would read as the first).
    std::vector<int> numbers(texture_names.size(), -1);
    description += "[textures]\n";
    int listed = 0;
    std::string entries;
    for (size_t i = 0; i < texture_names.size(); ++i) {
        if (texture_names[i].empty()) continue;
        numbers[i] = ++listed;
        entries += std::to_string(listed) + "=" + texture_names[i] + "\n";
    }
    description += "count=" + std::to_string(listed) + "\n" + entries;
    description += "[objects]\ncount=" + std::to_string(model.parts.size()) + "\n";
    const auto number_of = [&numbers](int index) { return index < 0 ? -1 : numbers[index]; };
    for (size_t i = 0; i < model.parts.size(); ++i) {
        const std::string key = std::to_string(i + 1);
        const std::string name = stem + "_" + key + ".vxm";
        write_mesh((folder / name).string(), model.parts[i].mesh, text, notes);
        description += key + "=" + name + "\n";
        description += key + "ta=" + std::to_string(number_of(model.parts[i].texture_a)) + "\n";
        description += key + "tb=" + std::to_string(number_of(model.parts[i].texture_b)) + "\n";
    }
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    file << description;
    if (!file.flush()) throw ConversionError(output + ": cannot write: " + std::strerror(errno));
}

}  // namespace

EngineFileKind engine_file_kind(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) throw ConversionError(path + ": is a folder, not a file");
    const std::string head = first_bytes(path, kSniffBytes);
    if (head.size() >= 4 && little_u32(head) == vexel::kMeshMagic) return EngineFileKind::kBinary;
    if (head.compare(0, 4, vexel::kMultiMeshTag) == 0) return EngineFileKind::kDescription;
    if (starts_with_word(head, "VXMA")) return EngineFileKind::kText;
    return EngineFileKind::kNone;
}

Model read_engine_file(const std::string& path, EngineFileKind kind) {
    if (kind == EngineFileKind::kDescription) return read_description(path);
    Model model;
    model.parts.resize(1);
    read_one_mesh(path, model.parts[0].mesh);
    return model;
}

void write_engine_files(Model& model, const std::string& output,
                        const EngineWriteSettings& settings, std::vector<std::string>& notes) {
    if (settings.multi) {
        write_description(model, output, settings.text, notes);
        return;
    }
    if (!model.textures.empty()) {
        std::string names;
        for (const ModelTexture& texture : model.textures)
            names += (names.empty() ? "" : ", ") + texture.name;
        notes.push_back("a single mesh file keeps no texture names; the model uses " + names +
                        " (bind them with set_textures, or convert with --multi)");
    }
    write_mesh(output, merged_parts(model, output), settings.text, notes);
}

void reverse_winding(MeshObjectX& mesh) {
    for (vexel::MeshFrame& frame : mesh.frames) {
        std::vector<MeshVertex> reversed;
        reversed.push_back(vexel::make_marker(vexel::kMarkerTriangles));
        const std::vector<MeshVertex>& stream = frame.build_stream;
        vexel::for_each_triangle(stream, [&](size_t a, size_t b, size_t c) {
            reversed.push_back(stream[a]);
            reversed.push_back(stream[c]);
            reversed.push_back(stream[b]);
        });
        frame.build_stream = std::move(reversed);
    }
    vexel::build_palette(mesh);
}

}  // namespace vxmconv
