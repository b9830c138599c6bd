#include "engine3d/mesh_graphics.h"

#include <GL/gl.h>

#include <string_view>
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

uint32_t load_texture(const DynString& path, std::string_view* reason) {
    ImageFailure why = ImageFailure::kNoTexture;
    ImageBuffer picture;
    uint32_t texture = 0;
    if (gl_ready() &&
        decode_image(path.c_str(), texture_store().sprite_colour_key, picture, &why)) {
        if (!picture.alpha_from_source()) fill_transparent_colours(picture);
        if (upload_texture(picture, 0, 0, 0, 0, texture, nullptr, false, false)) return texture;
        why = picture.byte_count() == 0 ? ImageFailure::kEmpty : ImageFailure::kNoTexture;
    }
    *reason = image_failure_reason(why);
    return 0;
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
    hooks.load_texture_or_reason = load_texture;
    hooks.delete_textures = delete_textures;
    hooks.release_gpu = release_gpu;
    set_mesh_graphics_hooks(std::move(hooks));
}

}  // namespace vexel::engine3d
