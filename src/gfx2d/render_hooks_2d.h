// Internal: how the 2D layer joins the window code at start-up.
#pragma once

namespace vexel {

// A fresh texture store (empty slots and backgrounds, default colour keys) and 2D drawing state,
// and the window code's hooks that empty the store when the context goes, draw background 0 at
// the present, reset the 2D state with the GL state and run the offscreen surfaces.
void install_2d_render_hooks();

}  // namespace vexel
