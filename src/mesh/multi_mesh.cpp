#include "mesh/multi_mesh.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include <vexel/archive.h>

#include "app/failure_report.h"
#include "io/virtual_files.h"
#include "mesh/mesh_file.h"
#include "mesh/mesh_hooks.h"
#include "mesh/section_file.h"

namespace vexel {

namespace {

int32_t entry_count(const SectionFile& description, const char* section) {
    return std::clamp(text_to_int(description.get(section, "count")), 0, kMaxMultiMeshEntries);
}

DynString numbered_key(int32_t number, const char* suffix) {
    DynString key(number);
    key.append(suffix);
    return key;
}

// Texture numbers in the file count from 1; 0 and negative values are kept as they are.
int32_t texture_number(const SectionFile& description, int32_t mesh, const char* suffix) {
    const int32_t value =
        text_to_int(description.get("objects", numbered_key(mesh, suffix).c_str()));
    return value > 0 ? value - 1 : value;
}

// Textures come from the disk or the archive like every other file the engine loads by name.
uint32_t load_texture_entry(const DynString& path) {
    DynString found;
    if (!resolve_name(path, found, true)) {
        log_load_failure("load_object", path.c_str(), "not found");
        return 0;
    }
    std::string_view reason;
    const uint32_t texture = load_mesh_texture(found, &reason);
    if (!texture) log_load_failure("load_object", path.c_str(), reason);
    return texture;
}

// A mesh of the description that fails stays empty and is reported; the slot loads all the same.
void load_mesh_entry(const DynString& path, MeshObjectX& mesh) {
    DynString found;
    resolve_name(path, found, true);
    std::string_view reason;
    try {
        if (!read_mesh_file(found.c_str(), mesh, &reason)) {
            log_load_failure("load_object", path.c_str(), reason);
            return;
        }
        mesh.prepare();
        compute_bounds(mesh);
    } catch (const std::bad_alloc&) {
        mesh.clear();
        log_out_of_memory(found.c_str());
        log_load_failure("load_object", path.c_str(), "out of memory");
    }
}

}  // namespace

DynString folder_of(const char* name) {
    DynString folder;
    if (!name || is_memory_name(name)) return folder;
    const char* end = nullptr;
    for (const char* p = name; *p; ++p) {
        if (*p == '/' || *p == '\\') end = p + 1;
    }
    if (end) folder.append(name, static_cast<uint32_t>(end - name));
    return folder;
}

int32_t load_multi_mesh(ObjectSlot& slot, const char* name, const char* resolved) {
    slot.used = 1;
    slot.multi_mesh = 1;
    SectionFile description;
    description.read(resolved);
    const DynString folder = folder_of(name);

    const int32_t texture_total = entry_count(description, "textures");
    slot.textures.assign(texture_total, 0);
    for (int32_t i = 1; i <= texture_total; ++i) {
        DynString path = folder;
        path.append(description.get("textures", numbered_key(i, "").c_str()));
        slot.textures[i - 1] = load_texture_entry(path);
    }

    const int32_t mesh_total = entry_count(description, "objects");
    slot.meshes.resize(mesh_total);
    for (int32_t i = 1; i <= mesh_total; ++i) {
        MeshObjectX& mesh = slot.meshes[i - 1];
        DynString path = folder;
        path.append(description.get("objects", numbered_key(i, "").c_str()));
        load_mesh_entry(path, mesh);
        mesh.texture_a = texture_number(description, i, "ta");
        mesh.texture_b = texture_number(description, i, "tb");
    }
    return 1;
}

}  // namespace vexel
