#include "sound/music_mpv_player.h"

#include <chrono>
#include <cstdint>
#include <span>

#include "io/system_path.h"
#include "io/virtual_files.h"
#include "platform/audio_output.h"

namespace vexel {

namespace {

struct Setting {
    const char* name;
    const char* value;
};

// No configuration, scripts, key bindings or helper programs of a media player installed on the
// user's machine; files are opened by FFmpeg's demuxers only, so a file is never followed as a
// playlist to other files. A file stays open at its end, so that a looping piece or video can
// seek back to its start.
constexpr Setting kCommonSettings[] = {
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"osc", "no"},
    {"input-default-bindings", "no"},
    {"demuxer", "lavf"},
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"keep-open", "yes"},
    {"idle", "yes"},
    {"hwdec", "no"},
};

constexpr Setting kAudioOnlySettings[] = {{"vid", "no"}, {"vo", "null"}, {"audio-display", "no"}};
constexpr Setting kVideoSettings[] = {{"vo", "libmpv"}, {"gpu-hwdec-interop", "no"}};
constexpr Setting kNullAudioSettings[] = {{"ao", "null"}};

bool apply(const MpvLibrary& api, mpv_handle* mpv, std::span<const Setting> settings,
           std::string* reason) {
    for (const Setting& setting : settings) {
        const int result = api.set_option_string(mpv, setting.name, setting.value);
        if (result < 0) {
            *reason = std::string("option ") + setting.name + ": " + api.error_string(result);
            return false;
        }
    }
    return true;
}

// Events the engine waits for; everything else mpv would report is never queued.
void request_load_events_only(const MpvLibrary& api, mpv_handle* mpv) {
    for (int id = MPV_EVENT_SHUTDOWN; id <= MPV_EVENT_HOOK; ++id)
        api.request_event(mpv, static_cast<mpv_event_id>(id), 0);
    api.request_event(mpv, MPV_EVENT_START_FILE, 1);
    api.request_event(mpv, MPV_EVENT_FILE_LOADED, 1);
    api.request_event(mpv, MPV_EVENT_END_FILE, 1);
}

void drain_events(const MpvLibrary& api, mpv_handle* mpv) {
    while (api.wait_event(mpv, 0)->event_id != MPV_EVENT_NONE) {
    }
}

// A name mpv can only take as a file: with "/" separators, and "./" before a relative name so
// that nothing in it reads as a protocol ("lavfi://", "http://", ...).
std::string local_file(const std::string& name) {
    std::string path = system_path(name.c_str());
    if (path.empty() || path[0] != '/') path.insert(0, "./");
    return path;
}

std::string end_reason(const MpvLibrary& api, const mpv_event* event) {
    const auto* end = static_cast<const mpv_event_end_file*>(event->data);
    if (end && end->reason == MPV_END_FILE_REASON_ERROR) return api.error_string(end->error);
    return "not playable";
}

}  // namespace

std::unique_ptr<MpvPlayer> MpvPlayer::create(Output output, std::string* reason) {
    const MpvLibrary* api = mpv_library(reason);
    if (!api) return nullptr;
    mpv_handle* mpv = api->create();
    if (!mpv) {
        *reason = "the media player cannot start";
        return nullptr;
    }
    std::unique_ptr<MpvPlayer> player(new MpvPlayer(*api, mpv));
    if (!apply(*api, mpv, kCommonSettings, reason)) return nullptr;
    const bool video = output == Output::kVideo;
    const std::span<const Setting> output_settings =
        video ? std::span<const Setting>(kVideoSettings) : kAudioOnlySettings;
    if (!apply(*api, mpv, output_settings, reason)) return nullptr;
    if (platform::null_audio_requested() && !apply(*api, mpv, kNullAudioSettings, reason))
        return nullptr;
    if (const int result = api->initialize(mpv); result < 0) {
        *reason = std::string("the media player cannot start: ") + api->error_string(result);
        return nullptr;
    }
    request_load_events_only(*api, mpv);
    return player;
}

MpvPlayer::~MpvPlayer() {
    api_.terminate_destroy(mpv_);
}

bool MpvPlayer::load(const std::string& name, std::string* reason) {
    using Clock = std::chrono::steady_clock;
    if (is_memory_name(name.c_str())) {
        *reason = "a block in memory cannot be played, only a file";
        return false;
    }
    drain_events(api_, mpv_);
    set_paused(true);
    const std::string path = local_file(name);
    const char* args[] = {"loadfile", path.c_str(), "replace", nullptr};
    if (const int result = api_.command(mpv_, args); result < 0) {
        *reason = api_.error_string(result);
        return false;
    }
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<int64_t>(kLoadTimeoutMs));
    // Events of the file played before may still arrive; this file's begin with its start.
    bool started = false;
    for (;;) {
        const std::chrono::duration<double> left = deadline - Clock::now();
        if (left.count() <= 0) {
            stop();
            *reason = "took too long to open";
            return false;
        }
        const mpv_event* event = api_.wait_event(mpv_, left.count());
        switch (event->event_id) {
            case MPV_EVENT_START_FILE:
                started = true;
                break;
            case MPV_EVENT_FILE_LOADED:
                if (started) return true;
                break;
            case MPV_EVENT_END_FILE:
                if (started) {
                    *reason = end_reason(api_, event);
                    return false;
                }
                break;
            case MPV_EVENT_SHUTDOWN:
                *reason = "the media player stopped";
                return false;
            default:
                break;
        }
    }
}

void MpvPlayer::stop() {
    const char* args[] = {"stop", nullptr};
    api_.command(mpv_, args);
}

void MpvPlayer::set_paused(bool paused) {
    int flag = paused ? 1 : 0;
    api_.set_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag);
}

void MpvPlayer::seek_to_start() {
    const char* args[] = {"seek", "0", "absolute", nullptr};
    api_.command(mpv_, args);
}

void MpvPlayer::set_volume(double percent) {
    api_.set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &percent);
}

double MpvPlayer::number_property(const char* name) const {
    double value = 0;
    if (api_.get_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) < 0) return 0;
    return value;
}

bool MpvPlayer::set_property(const char* name, const char* value) {
    return api_.set_property_string(mpv_, name, value) >= 0;
}

double MpvPlayer::length_ms() const {
    return number_property("duration") * 1000.0;
}

bool MpvPlayer::flag_property(const char* name) const {
    int flag = 0;
    if (api_.get_property(mpv_, name, MPV_FORMAT_FLAG, &flag) < 0) return false;
    return flag != 0;
}

bool MpvPlayer::at_end() const {
    int flag = 1;
    if (api_.get_property(mpv_, "eof-reached", MPV_FORMAT_FLAG, &flag) < 0) return true;
    return flag != 0;
}

bool MpvPlayer::picture_size(int* width, int* height) const {
    int64_t w = 0;
    int64_t h = 0;
    if (api_.get_property(mpv_, "dwidth", MPV_FORMAT_INT64, &w) < 0 ||
        api_.get_property(mpv_, "dheight", MPV_FORMAT_INT64, &h) < 0 || w <= 0 || h <= 0)
        return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

}  // namespace vexel
