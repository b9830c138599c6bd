// Internal: full-window video. mpv decodes the file and draws each frame through its render API
// into the engine's own window and GL context; play_video (<vexel/music.h>) waits in a loop of
// its own until the video ends or the user stops it.
#pragma once

#include <cstdint>

namespace vexel {

// A rectangle of the window's client area, from its top-left corner, in pixels.
struct VideoRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const VideoRect&) const = default;
};

// The picture (source_width x source_height) scaled by the smaller of the two ratios client /
// source, so that it fits, and centred in the client area. Empty when either size is not
// positive.
VideoRect video_destination(int32_t source_width, int32_t source_height, int32_t client_width,
                            int32_t client_height);

// Shutdown (also when the program ends from inside a video's wait loop): the video's renderer
// and player are destroyed while the GL context still exists.
void release_video_player();

// Called after each video frame is drawn and before it is shown, with the back buffer holding
// the frame; null for none. Lets a test read the pixels the user would see.
using VideoFrameObserver = void (*)();
void set_video_frame_observer(VideoFrameObserver observer);

}  // namespace vexel
