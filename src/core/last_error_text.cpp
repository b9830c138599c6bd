#include <cstdio>

#include <vexel/error.h>
#include <vexel/text.h>

namespace vexel {

namespace {

const char* error_word(int32_t code) {
    switch (code) {
        case 0:
            return "success";
        case 3:
            return "no such file";
        case 7:
            return "out of memory";
        case 9:
            return "out of bounds";
        case 20:
            return "out of data";
        default:
            return "unknown error";
    }
}

}  // namespace

DynString last_error_text() {
    const int32_t code = last_error_code();
    char text[64];
    std::snprintf(text, sizeof text, "%.4d %s", static_cast<int>(code), error_word(code));
    return DynString(text);
}

}  // namespace vexel
