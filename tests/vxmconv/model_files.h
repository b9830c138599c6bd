// Test helpers for the converter: model files written by hand (an OBJ with its materials, glTF
// files with their buffers), the tool run in-process or as a program, and a mesh file read back.
#pragma once

#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "converter.h"
#include "mesh/mesh_file.h"
#include "mesh/mesh_object.h"
#include "support/image_files.h"
#include "support/temp_dir.h"

namespace vexel::testing {

// Two unit quads on the floor of a y-up model, each with its own material (diffuse colour and
// picture); faces counter-clockwise seen from above (+y). Texture coordinates run from (0, 0)
// at the quad's corner nearest (-x, +z) to (1, 1) at the far one, so that after the turn to
// z-up u runs along x and v along y.
inline void write_two_material_obj(const ScopedTempDir& folder, const std::string& name,
                                   const std::string& left_picture = "brick.png",
                                   const std::string& right_picture = "wood.png",
                                   const char* left_colour = "1 0 0",
                                   const char* right_colour = "0 1 0") {
    write_file(folder.file(name + ".obj"),
               "mtllib " + name +
                   ".mtl\n"
                   "v -1 0 1\nv 0 0 1\nv 0 0 -1\nv -1 0 -1\nv 1 0 1\nv 1 0 -1\n"
                   "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 1 0\n"
                   "usemtl left\nf 1/1/1 2/2/1 3/3/1 4/4/1\n"
                   "usemtl right\nf 2/1/1 5/2/1 6/3/1 3/4/1\n");
    write_file(folder.file(name + ".mtl"), "newmtl left\nKd " + std::string(left_colour) +
                                               "\nmap_Kd " + left_picture + "\nnewmtl right\nKd " +
                                               right_colour + "\nmap_Kd " + right_picture + "\n");
}

// A square PNG in two halves (0xBBGGRR): first on the left, or on the top when not side by
// side. (The engine keeps pictures below 16 x 16 in a corner of a 16 x 16 texture.)
inline std::string halves_png(int32_t first, int32_t second, bool side_by_side = true,
                              uint32_t size = 16) {
    PngLayout layout(size, size, PNG_COLOR_TYPE_RGB, 8);
    for (uint32_t y = 0; y < size; ++y) {
        for (uint32_t x = 0; x < size; ++x) {
            const int32_t colour = (side_by_side ? x : y) < size / 2 ? first : second;
            for (int shift : {0, 8, 16})
                layout.samples.push_back(static_cast<uint8_t>(colour >> shift));
        }
    }
    return png_bytes(layout);
}

// A glTF file and its binary buffer, put together accessor by accessor.
class GltfFile {
public:
    // A float accessor of `type` ("SCALAR", "VEC2", ...); positions need their bounds.
    int floats(const std::vector<float>& values, const char* type, bool bounds = false) {
        const int width = width_of(type);
        std::string extra;
        if (bounds) {
            std::string low, high;
            for (int c = 0; c < width; ++c) {
                float a = values[c], b = values[c];
                for (size_t i = c; i < values.size(); i += width) {
                    a = std::min(a, values[i]);
                    b = std::max(b, values[i]);
                }
                low += (c ? "," : "") + std::to_string(a);
                high += (c ? "," : "") + std::to_string(b);
            }
            extra = ",\"min\":[" + low + "],\"max\":[" + high + "]";
        }
        return add(values.data(), values.size() * 4, 5126, values.size() / width, type, extra);
    }
    int shorts(const std::vector<uint16_t>& values, const char* type) {
        const int width = width_of(type);
        return add(values.data(), values.size() * 2, 5123, values.size() / width, type, "");
    }

    // Bytes of their own in the buffer, such as a picture; the buffer view's index.
    int view(const std::string& bytes) {
        const size_t offset = buffer_.size();
        buffer_ += bytes;
        buffer_.resize((buffer_.size() + 3) / 4 * 4, '\0');
        views_ += std::string(view_count_ ? "," : "") +
                  "{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
                  ",\"byteLength\":" + std::to_string(bytes.size()) + "}";
        return view_count_++;
    }

    // Writes name.gltf and name.bin; `body` holds the scenes, nodes, meshes and the rest.
    std::string write(const ScopedTempDir& folder, const std::string& name,
                      const std::string& body) const {
        write_file(folder.file(name + ".bin"), buffer_);
        std::string json =
            "{\"asset\":{\"version\":\"2.0\"},\"scene\":0," + body + ",\"buffers\":[{\"uri\":\"" +
            name + ".bin\",\"byteLength\":" + std::to_string(buffer_.size()) +
            "}],\"bufferViews\":[" + views_ + "],\"accessors\":[" + accessors_ + "]}";
        write_file(folder.file(name + ".gltf"), json);
        return folder.file(name + ".gltf");
    }

private:
    static int width_of(const std::string& type) {
        if (type == "SCALAR") return 1;
        const int side = type[3] - '0';
        return type[0] == 'M' ? side * side : side;
    }

    int add(const void* data, size_t bytes, int component, size_t count, const char* type,
            const std::string& extra) {
        const int view = this->view(std::string(static_cast<const char*>(data), bytes));
        accessors_ +=
            std::string(accessor_count_ ? "," : "") + "{\"bufferView\":" + std::to_string(view) +
            ",\"componentType\":" + std::to_string(component) +
            ",\"count\":" + std::to_string(count) + ",\"type\":\"" + type + "\"" + extra + "}";
        return accessor_count_++;
    }

    std::string buffer_;
    std::string views_;
    std::string accessors_;
    int view_count_ = 0;
    int accessor_count_ = 0;
};

struct ToolRun {
    int status = -1;
    std::string messages;  // what it wrote on standard error
};

// The conversion in this process, with its messages captured.
inline ToolRun convert_here(const std::vector<std::string>& arguments) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ToolRun run;
    run.status = vxmconv::run_command_line(arguments, out, err);
    std::rewind(err);
    char piece[512];
    size_t n = 0;
    while ((n = std::fread(piece, 1, sizeof piece, err)) > 0)
        run.messages.append(piece, n);
    std::fclose(out);
    std::fclose(err);
    return run;
}

// The tool as a program; status -1 when it did not end by itself (a crash).
inline ToolRun run_program(const ScopedTempDir& folder, const std::string& arguments) {
    const std::string messages = folder.file("messages.txt");
    const std::string command =
        std::string(VEXEL_VXMCONV_PATH) + " " + arguments + " 2> " + messages + " > /dev/null";
    const int status = std::system(command.c_str());
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.messages = read_file(messages);
    return run;
}

// A mesh file read back and made into triangles as load_object makes them.
inline MeshObjectX read_back(const std::string& path) {
    MeshObjectX mesh;
    EXPECT_TRUE(read_mesh_file(path.c_str(), mesh)) << path;
    mesh.prepare();
    return mesh;
}

// A triangle as its three corners' positions and colours, turned to its smallest rotation: two
// triangles are the same, with the same winding, when these are equal.
using Corners = std::array<std::array<float, 4>, 3>;
inline std::vector<Corners> triangles_of(const MeshFrame& frame) {
    std::vector<Corners> result;
    for (size_t i = 0; i + 2 < frame.triangles.size(); i += 3) {
        Corners t;
        for (int k = 0; k < 3; ++k) {
            const Vec3f& p = frame.triangles[i + k].position;
            t[k] = {p.x, p.y, p.z, static_cast<float>(frame.triangles[i + k].colour)};
        }
        result.push_back(std::min({t, Corners{t[1], t[2], t[0]}, Corners{t[2], t[0], t[1]}}));
    }
    std::sort(result.begin(), result.end());
    return result;
}

}  // namespace vexel::testing
