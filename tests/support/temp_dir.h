#pragma once

#include <string>

namespace vexel::testing {

// A fresh temporary folder made the process's TMPDIR for one test, removed afterwards.
// Create it before anything reads the temporary folder (the engine reads it once).
class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    const std::string& path() const { return path_; }  // ends in "/"
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// The whole content of a file, or an empty text when it cannot be read.
std::string read_file(const std::string& path);
void write_file(const std::string& path, const std::string& content);

}  // namespace vexel::testing
