#include "sound/video_player.h"

#include <mpv/render_gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include <vexel/frame.h>
#include <vexel/music.h>

#include "app/failure_report.h"
#include "app/frame_loop.h"
#include "gfx2d/video_gl_state.h"
#include "input/input_state.h"
#include "io/archive_resolver.h"
#include "platform/gl_context.h"
#include "platform/message_pump.h"
#include "platform/opengl_duderedi.h"
#include "sound/music_mpv_player.h"

namespace vexel {

namespace {

constexpr int32_t kVideoDone = 0;
constexpr int32_t kVideoFailed = 3;
// How long the wait loop sleeps at most when no frame is due, so that keys and buttons are seen
// at once.
constexpr std::chrono::milliseconds kInputPoll{10};

// Set by mpv's render thread when a frame is due; the wait loop sleeps on it.
class FrameSignal {
public:
    void notify() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_ = true;
        }
        wake_.notify_one();
    }
    void wait(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait_for(lock, timeout, [this] { return pending_; });
        pending_ = false;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool pending_ = false;
};

// The player of one play_video and its renderer; the renderer goes before the player.
struct VideoSession {
    std::unique_ptr<MpvPlayer> player;
    mpv_render_context* renderer = nullptr;
    FrameSignal frames;

    VideoSession() = default;
    VideoSession(const VideoSession&) = delete;
    VideoSession& operator=(const VideoSession&) = delete;
    ~VideoSession() {
        if (renderer) player->api().render_context_free(renderer);
        player.reset();
    }
};

std::unique_ptr<VideoSession> g_session;
VideoFrameObserver g_observer = nullptr;

void* gl_lookup(void*, const char* name) {
    return platform::gl_proc_address(name);
}

void frame_due(void* signal) {
    static_cast<FrameSignal*>(signal)->notify();
}

std::unique_ptr<VideoSession> open_session(std::string* reason) {
    auto session = std::make_unique<VideoSession>();
    session->player = MpvPlayer::create(MpvPlayer::Output::kVideo, reason);
    if (!session->player) return nullptr;
    mpv_opengl_init_params gl_init{gl_lookup, nullptr};
    char api_type[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api_type},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl_init},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    const MpvLibrary& api = session->player->api();
    const int result =
        api.render_context_create(&session->renderer, session->player->handle(), params);
    if (result < 0) {
        *reason = std::string("no video renderer: ") + api.error_string(result);
        return nullptr;
    }
    api.render_context_set_update_callback(session->renderer, frame_due, &session->frames);
    return session;
}

std::string colour_text(const float rgba[4]) {
    auto byte = [](float c) {
        return static_cast<int>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255));
    };
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", byte(rgba[0]), byte(rgba[1]), byte(rgba[2]));
    return text;
}

// A quarter pixel over keeps the margin at its whole pixel count whether mpv rounds the product
// or cuts it.
void set_ratio(MpvPlayer& player, const char* name, int32_t pixels, int32_t size) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", (pixels + 0.25) / size);
    player.set_property(name, text);
}

// mpv fits the picture into the part of the window its margins leave; they are set to the
// destination rectangle, which has the picture's shape, so that the picture lands exactly there
// and the rest shows the background.
void place_picture(MpvPlayer& player, int32_t client_width, int32_t client_height) {
    int width = 0;
    int height = 0;
    if (!player.picture_size(&width, &height)) return;
    const VideoRect rect = video_destination(width, height, client_width, client_height);
    set_ratio(player, "video-margin-ratio-left", rect.x, client_width);
    set_ratio(player, "video-margin-ratio-right", client_width - rect.x - rect.width, client_width);
    set_ratio(player, "video-margin-ratio-top", rect.y, client_height);
    set_ratio(player, "video-margin-ratio-bottom", client_height - rect.y - rect.height,
              client_height);
}

bool mouse_button_held() {
    int32_t x = 0;
    int32_t y = 0;
    uint8_t buttons = 0;
    peek_pointer(&x, &y, &buttons);
    return buttons != 0;
}

// What was typed before the video does not stop it, nor does a button still held.
void forget_earlier_input() {
    while (pop_typed_char() != 0) {
    }
    while (platform::opengl_duderedi() && mouse_button_held())
        idle_wait();
}

void draw_new_frame(VideoSession& session, platform::OpenGLDuderedi& gl) {
    const MpvLibrary& api = session.player->api();
    if (!(api.render_context_update(session.renderer) & MPV_RENDER_UPDATE_FRAME)) return;
    mpv_opengl_fbo target{static_cast<int>(gl.letterbox.framebuffer()), gl.width, gl.height, 0};
    int flip_y = 1;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                 {MPV_RENDER_PARAM_FLIP_Y, &flip_y},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    api.render_context_render(session.renderer, params);
    gl.letterbox.bind();
    if (g_observer) g_observer();
    gl.letterbox.show(gl.window);
    api.render_context_report_swap(session.renderer);
}

// The wait loop: frames are drawn as mpv makes them due, until the end (with loop: until the
// user stops it), a character typed or a mouse button pressed.
void run_until_stopped(VideoSession& session, bool loop) {
    MpvPlayer& player = *session.player;
    player.set_paused(false);
    // mpv seeks on its own thread: the end stays reported for a moment after a restart.
    bool restarting = false;
    for (;;) {
        const bool at_end = player.at_end();
        if (at_end && !loop) return;
        if (at_end && !restarting) {
            player.seek_to_start();
            player.set_paused(false);
        }
        restarting = at_end;
        music_loop_check();
        platform::pump_messages(message_hook());
        if (pop_typed_char() != 0 || mouse_button_held()) return;
        platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
        if (!gl || !gl->window) return;
        draw_new_frame(session, *gl);
        session.frames.wait(kInputPoll);
    }
}

}  // namespace

VideoRect video_destination(int32_t source_width, int32_t source_height, int32_t client_width,
                            int32_t client_height) {
    if (source_width <= 0 || source_height <= 0 || client_width <= 0 || client_height <= 0)
        return {};
    const double scale = std::min(static_cast<double>(client_width) / source_width,
                                  static_cast<double>(client_height) / source_height);
    VideoRect rect;
    rect.width = std::min(client_width, static_cast<int32_t>(source_width * scale));
    rect.height = std::min(client_height, static_cast<int32_t>(source_height * scale));
    rect.x = (client_width - rect.width) / 2;
    rect.y = (client_height - rect.height) / 2;
    return rect;
}

int32_t play_video(const DynString& file, int32_t loop) {
    DynString resolved;
    if (!resolve_video_name(file.c_str(), resolved)) return kVideoFailed;
    platform::OpenGLDuderedi* gl = platform::opengl_duderedi();
    // One video at a time: a game's message hook cannot start a second one inside the first.
    if (!gl || !gl->window || g_session) return kVideoFailed;

    const VideoGlState saved = begin_video_drawing();
    std::string reason;
    g_session = open_session(&reason);
    if (!g_session) {
        log_load_failure("play_video", file.c_str(), reason);
        end_video_drawing(saved);
        return kVideoFailed;
    }
    MpvPlayer& player = *g_session->player;
    player.set_property("background", colour_text(saved.clear_colour).c_str());
    if (player.load(resolved.c_str(), &reason)) {
        place_picture(player, gl->width, gl->height);
        forget_earlier_input();
        run_until_stopped(*g_session, loop != 0);
    } else {
        log_load_failure("play_video", file.c_str(), reason);
    }
    // The player stops as it goes; the program ending inside the loop went through
    // release_video_player instead and never comes back here.
    g_session.reset();
    end_video_drawing(saved);
    return kVideoDone;
}

void release_video_player() {
    g_session.reset();
}

void set_video_frame_observer(VideoFrameObserver observer) {
    g_observer = observer;
}

}  // namespace vexel
