#include "progress_line.h"

#include <utility>

namespace vxmconv {

ProgressLine::ProgressLine(std::FILE* out, std::string subject)
    : out_(out), subject_(std::move(subject)) {}

ProgressLine::~ProgressLine() {
    finish();
}

void ProgressLine::stage(const char* name, uint64_t total) {
    stage_ = name;
    total_ = total;
    done_ = 0;
    shown_percent_ = -1;
    show();
}

void ProgressLine::advance(uint64_t steps) {
    done_ += steps;
    if (!enabled_ || total_ == 0) return;
    const int percent = static_cast<int>(done_ >= total_ ? 100 : done_ * 100 / total_);
    if (percent != shown_percent_) show();
}

void ProgressLine::finish() {
    if (!open_) return;
    std::fputc('\n', out_);
    std::fflush(out_);
    open_ = false;
}

void ProgressLine::show() {
    if (!enabled_) return;
    // The padding wipes what a longer stage name left on the line.
    if (total_ == 0) {
        std::fprintf(out_, "\rvxmconv: %s: %s%-12s", subject_.c_str(), stage_.c_str(), "");
    } else {
        shown_percent_ = static_cast<int>(done_ >= total_ ? 100 : done_ * 100 / total_);
        std::fprintf(out_, "\rvxmconv: %s: %s %3d%%%-8s", subject_.c_str(), stage_.c_str(),
                     shown_percent_, "");
    }
    std::fflush(out_);
    open_ = true;
}

}  // namespace vxmconv
