#include "platform/frame_capture.h"

#include <charconv>
#include <cstdlib>
#include <string>

#include <vexel/error.h>

#include "platform/environment_text.h"
#include "platform/render_hooks.h"

namespace vexel::platform {

namespace {

constexpr int64_t kLastFrame = INT32_MAX;
constexpr size_t kFileNameLimit = 4096;

bool parse_item(std::string_view item, CaptureRequest* request) {
    const size_t colon = item.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view number = item.substr(0, colon);
    const std::string_view file = item.substr(colon + 1);
    if (number.empty() || file.empty() || file.size() > kFileNameLimit) return false;
    if (file.find('\0') != std::string_view::npos) return false;
    const char* end = number.data() + number.size();
    const auto [at, error] = std::from_chars(number.data(), end, request->frame);
    if (error != std::errc() || at != end) return false;
    if (request->frame < 1 || request->frame > kLastFrame) return false;
    request->file = std::string(file);
    return true;
}

const CaptureList& environment_captures() {
    static const CaptureList list = [] {
        const char* text = std::getenv("VEXEL_CAPTURE");
        CaptureList parsed = parse_capture_list(text ? text : "");
        for (const std::string& item : parsed.bad_items) {
            const std::string line = "Capture item ignored: " + item + "\n";
            append_error_log(line.c_str());
        }
        return parsed;
    }();
    return list;
}

}  // namespace

CaptureList parse_capture_list(std::string_view text) {
    CaptureList list;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view item = trim_blanks(text.substr(0, comma));
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
        if (item.empty()) continue;
        CaptureRequest request;
        if (parse_item(item, &request)) {
            list.requests.push_back(std::move(request));
        } else {
            list.bad_items.emplace_back(item);
        }
    }
    return list;
}

void capture_frame(int64_t frame, int32_t width, int32_t height) {
    if (frame < 1) return;
    const auto save = render_hooks().save_back_buffer;
    for (const CaptureRequest& request : environment_captures().requests) {
        if (request.frame != frame) continue;
        if (save && save(request.file.c_str(), width, height)) continue;
        const std::string line = "Capture not written: " + request.file + "\n";
        append_error_log(line.c_str());
    }
}

}  // namespace vexel::platform
