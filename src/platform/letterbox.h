// Full screen on a display that cannot switch to the game's size. The game draws into a
// framebuffer of exactly its own size, so drawing, pixel reads, grabs and captures all stay in
// game pixels; each swap shows that picture on the window scaled up with its aspect kept,
// centred between black bars, and pointer positions on the window are turned back into game
// pixels. Part of the engine window (OpenGLDuderedi), like its context.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/letterbox_layout.h"
#include "platform/window.h"

namespace vexel::platform {

class Letterbox {
public:
    Letterbox();
    ~Letterbox();  // the GL objects go with the context; end() frees them while it is current
    Letterbox(const Letterbox&) = delete;
    Letterbox& operator=(const Letterbox&) = delete;

    // Makes the game's framebuffer (width x height, with depth, stencil and an alpha channel
    // when the window has one) and draws into it from now on. False, with nothing changed, when
    // the driver lacks framebuffer objects or blits, or the framebuffer cannot be made.
    bool begin(int32_t width, int32_t height);
    // Deletes the game's framebuffer; drawing goes to the window again.
    void end();
    bool active() const { return framebuffer_ != 0; }
    // The framebuffer that is the game's screen: the game's own while active, else 0 (the
    // window's).
    uint32_t framebuffer() const { return framebuffer_; }
    // Drawing goes to the game's screen again after code that binds framebuffers of its own
    // (the video player ends on the window's); nothing while not active.
    void bind() const;
    // The colour buffer that reads of the game's screen take: the window's back buffer, or the
    // colour attachment of the game's framebuffer.
    uint32_t read_buffer() const;
    // Swaps the window's buffers. While active the game's picture is put on the window's back
    // buffer first: black bars, the picture scaled (pixels repeated when the scale is whole,
    // filtered otherwise) and centred; then drawing goes on in the game's framebuffer, with the
    // GL state as it was.
    void show(NativeWindow* window);
    // Where the game's picture is on the window (in the window's coordinates, which pointer
    // positions use); all zero while not active.
    LetterboxLayout layout(const NativeWindow* window) const;
    // A pointer position on the window -> the game pixel under it; unchanged while not active.
    void position_to_game(const NativeWindow* window, int32_t* x, int32_t* y) const;
    // A pointer motion on the window -> in game pixels; unchanged while not active.
    void motion_to_game(const NativeWindow* window, int32_t* dx, int32_t* dy);
    // A game pixel -> a position on the window that shows it; unchanged while not active.
    void position_to_screen(const NativeWindow* window, int32_t* x, int32_t* y) const;

private:
    struct Procs;

    void put_picture_on(NativeWindow* window);
    void draw_as_texture(const LetterboxLayout& at, int32_t screen_h, int32_t filter) const;

    std::unique_ptr<Procs> procs_;
    uint32_t framebuffer_ = 0;
    uint32_t colour_ = 0;
    uint32_t depth_stencil_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool multisampled_window_ = false;
    MotionScaler motion_;
};

}  // namespace vexel::platform
