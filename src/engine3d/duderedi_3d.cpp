#include "engine3d/duderedi_3d.h"

#include "gfx2d/draw_batch.h"

namespace vexel::engine3d {

namespace {

Duderedi3D* g_instance = nullptr;

}  // namespace

Duderedi3D::Duderedi3D(platform::OpenGLDuderedi* context) : gl_context(context) {
    objects.resize(kObjectCount);
}

Duderedi3D::~Duderedi3D() {
    for (ObjectSlot& slot : objects)
        slot.reset();
}

ObjectSlot* Duderedi3D::object(int32_t number) {
    if (number < 0 || number >= static_cast<int32_t>(objects.size())) return nullptr;
    return &objects[static_cast<size_t>(number)];
}

Duderedi3D* duderedi_3d() {
    // Every 3D command starts here: 2D drawing still held in the batch is drawn first, with the
    // state it was asked for in, before the command changes that state.
    flush_2d_batch();
    return g_instance;
}

ObjectSlot* object_slot(int32_t num) {
    return g_instance ? g_instance->object(num) : nullptr;
}

Duderedi3D& create_duderedi_3d(platform::OpenGLDuderedi* context) {
    delete_duderedi_3d();
    g_instance = new Duderedi3D(context);
    scene_globals() = SceneGlobals{};
    return *g_instance;
}

void delete_duderedi_3d() {
    delete g_instance;
    g_instance = nullptr;
}

SceneGlobals& scene_globals() {
    static SceneGlobals globals;
    return globals;
}

}  // namespace vexel::engine3d
