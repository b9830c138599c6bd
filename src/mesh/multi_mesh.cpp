#include "mesh/multi_mesh.h"

#include <algorithm>
#include <cstring>

#include <vexel/archive.h>

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
        slot.textures[i - 1] = load_mesh_texture(path);
    }

    const int32_t mesh_total = entry_count(description, "objects");
    slot.meshes.resize(mesh_total);
    for (int32_t i = 1; i <= mesh_total; ++i) {
        MeshObjectX& mesh = slot.meshes[i - 1];
        DynString path = folder;
        path.append(description.get("objects", numbered_key(i, "").c_str()));
        DynString found;
        resolve_name(path, found, true);
        read_mesh_file(found.c_str(), mesh);
        mesh.texture_a = texture_number(description, i, "ta");
        mesh.texture_b = texture_number(description, i, "tb");
        mesh.prepare();
        compute_bounds(mesh);
    }
    return 1;
}

}  // namespace vexel
