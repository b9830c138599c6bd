// The line on standard error that follows a long conversion: one line, rewritten in place.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vxmconv {

class ProgressLine {
public:
    // Nothing is printed until the line is enabled.
    ProgressLine(std::FILE* out, std::string subject);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void enable(bool on) { enabled_ = on; }
    // Starts a stage counted in steps of work; a total of 0 shows the stage without a figure.
    void stage(const char* name, uint64_t total);
    void advance(uint64_t steps);
    // Ends the line.
    void finish();

private:
    void show();

    std::FILE* out_;
    bool enabled_ = false;
    bool open_ = false;
    std::string subject_;
    std::string stage_;
    uint64_t total_ = 0;
    uint64_t done_ = 0;
    int shown_percent_ = -1;
};

}  // namespace vxmconv
