// Internal: one mpv playback core, the player behind background music and behind video playback.
// mpv decodes everything; the engine only sends it commands and reads its properties. All calls
// come from the main thread; mpv's own threads live from create() to the destructor.
#pragma once

#include <memory>
#include <string>

#include "sound/music_mpv_library.h"

namespace vexel {

class MpvPlayer {
public:
    enum class Output { kAudioOnly, kVideo };

    // A core ready to load files: the null audio output when VEXEL_AUDIO=null, no video output
    // for kAudioOnly (cover pictures are not decoded), video for the render API for kVideo.
    // Files stay open at their end and every load starts paused. Null when mpv cannot start;
    // reason then says why.
    static std::unique_ptr<MpvPlayer> create(Output output, std::string* reason);
    ~MpvPlayer();  // stops playback and joins every thread of the core
    MpvPlayer(const MpvPlayer&) = delete;
    MpvPlayer& operator=(const MpvPlayer&) = delete;

    // Opens a file by its engine name ("/" or "\" separators; never a URL or a "mem://" block)
    // and waits until mpv has read its header (at most kLoadTimeoutMs). False, with the reason,
    // when mpv cannot play it; nothing is loaded afterwards.
    bool load(const std::string& name, std::string* reason);
    void stop();  // unloads the file
    void set_paused(bool paused);
    void seek_to_start();
    void set_volume(double percent);  // 0 ... 100

    double length_ms() const;  // "duration"; 0 when unknown
    bool at_end() const;       // nothing loaded, or playback reached the end
    // The displayed picture size; false when the file has no video.
    bool picture_size(int* width, int* height) const;
    // Properties as mpv reports them; 0 and false when mpv has no such value now.
    double number_property(const char* name) const;
    bool flag_property(const char* name) const;
    bool set_property(const char* name, const char* value);

    mpv_handle* handle() const { return mpv_; }
    const MpvLibrary& api() const { return api_; }

    static constexpr double kLoadTimeoutMs = 5000;

private:
    MpvPlayer(const MpvLibrary& api, mpv_handle* mpv) : api_(api), mpv_(mpv) {}

    const MpvLibrary& api_;
    mpv_handle* mpv_;
};

}  // namespace vexel
