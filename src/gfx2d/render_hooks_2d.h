// Internal: how the 2D layer joins the window code at start-up.
#pragma once

namespace vexel {

// A fresh texture store (empty slots and backgrounds, default colour keys), and the window
// code's hooks that empty it when the context goes, report background 0 and run the offscreen
// surfaces.
void install_2d_render_hooks();

}  // namespace vexel
