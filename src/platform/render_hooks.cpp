#include "platform/render_hooks.h"

namespace vexel::platform {

RenderHooks& render_hooks() {
    static RenderHooks hooks;
    return hooks;
}

}  // namespace vexel::platform
