// Internal: the GL state around a video that the media player draws into the engine's own
// context. The player expects standard GL defaults and leaves the viewport, blend function and
// clear colour as it likes; the engine keeps its clear colour in GL and its switches in a cache.
#pragma once

namespace vexel {

struct VideoGlState {
    float clear_colour[4] = {0, 0, 0, 1};  // red, green, blue, alpha in 0 ... 1
};

// Ends an open offscreen surface, sets the engine's default state without the alpha test (which
// would still apply to the player's shaders) and keeps the clear colour.
VideoGlState begin_video_drawing();
// The clear colour back and the engine's GL state reset, so that 2D and 3D drawing go on as
// before the video.
void end_video_drawing(const VideoGlState& saved);

}  // namespace vexel
