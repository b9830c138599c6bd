// What the sound benchmarks share: no noise and no sound server (the null audio driver), and a
// private folder for their sound files and the engine's temporary files, removed at exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class SilentSoundFolder {
public:
    SilentSoundFolder() {
        setenv("VEXEL_AUDIO", "null", 0);
        std::string path = "/tmp/vexel-bench-XXXXXX";
        if (!mkdtemp(path.data())) return;
        setenv("TMPDIR", path.c_str(), 1);
        path_ = path;
    }
    ~SilentSoundFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    SilentSoundFolder(const SilentSoundFolder&) = delete;
    SilentSoundFolder& operator=(const SilentSoundFolder&) = delete;

    // Empty when the folder could not be made.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};
