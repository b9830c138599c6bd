// Internal: VEXEL_CAPTURE=frame:file.png[,frame:file.png...], the back buffer of chosen frames
// saved as PNG just before their swap, so that a run without a person leaves pictures to check.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexel::platform {

struct CaptureRequest {
    int64_t frame = 0;  // the n-th present of the frame loop, from 1
    std::string file;
};

struct CaptureList {
    std::vector<CaptureRequest> requests;  // in the order given; one frame may be named twice
    std::vector<std::string> bad_items;    // items that were not "frame:file"
};

// Items are separated by ","; each is a positive frame number, ":" and a non-empty file name
// (everything after the first ":"). Blanks around an item are dropped.
CaptureList parse_capture_list(std::string_view text);

// Saves the back buffer (width x height) for every request of VEXEL_CAPTURE naming this frame,
// through the 2D layer's save hook. The variable is read at the first call with a frame above 0;
// items not understood and files not written each leave a line in the error log.
void capture_frame(int64_t frame, int32_t width, int32_t height);

}  // namespace vexel::platform
