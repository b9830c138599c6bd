#include <charconv>

#include <vexel/text.h>

namespace vexel {

int32_t number_text_length(double value) {
    char text[32];
    return static_cast<int32_t>(format_double(value, text));
}

int32_t number_text_length(int32_t value) {
    char text[16];
    return static_cast<int32_t>(std::to_chars(text, text + sizeof text, value).ptr - text);
}

}  // namespace vexel
