#include "engine3d/mesh_graphics.h"

#include <GL/gl.h>

#include <utility>

#include "gfx2d/image_filters.h"
#include "gfx2d/render_context.h"
#include "gfx2d/sprite_operations.h"
#include "gfx2d/texture_store.h"
#include "image/image_decoders.h"
#include "mesh/mesh_hooks.h"
#include "platform/gl_extensions.h"

namespace vexel::engine3d {

namespace {

uint32_t load_texture(const DynString& path) {
    if (!gl_ready()) return 0;
    ImageBuffer picture;
    if (!decode_image(path.c_str(), texture_store().sprite_colour_key, picture)) return 0;
    if (!picture.alpha_from_source()) fill_transparent_colours(picture);
    uint32_t texture = 0;
    if (!upload_texture(picture, 0, 0, 0, 0, texture, nullptr, false, false)) return 0;
    return texture;
}

void delete_textures(const std::vector<uint32_t>& textures) {
    if (!gl_ready() || textures.empty()) return;
    glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
}

void release_gpu(MeshGpuResources& resources) {
    if (gl_ready()) {
        const platform::GlExtensionProcs& procs = platform::gl_extension_procs();
        if (procs.glDeleteBuffersARB) {
            const GLuint buffers[2] = {resources.static_buffer, resources.stream_buffer};
            procs.glDeleteBuffersARB(2, buffers);
        }
        if (resources.ramp_texture) glDeleteTextures(1, &resources.ramp_texture);
    }
    resources = MeshGpuResources{};
}

}  // namespace

void install_mesh_graphics() {
    MeshGraphicsHooks hooks;
    hooks.load_texture = load_texture;
    hooks.delete_textures = delete_textures;
    hooks.release_gpu = release_gpu;
    set_mesh_graphics_hooks(std::move(hooks));
}

}  // namespace vexel::engine3d
