#include <cctype>

#include <vexel/text.h>

namespace vexel {

namespace {

template <typename Convert>
void convert_bytes(DynString& s, Convert convert) {
    if (s.empty()) return;  // an empty text keeps the shared buffer
    char* bytes = s.data();
    for (uint32_t i = 0; i < s.length(); ++i) {
        bytes[i] = static_cast<char>(convert(static_cast<unsigned char>(bytes[i])));
    }
}

}  // namespace

void upper_in_place(DynString& s) {
    convert_bytes(s, [](int c) { return std::toupper(c); });
}

void lower_in_place(DynString& s) {
    convert_bytes(s, [](int c) { return std::tolower(c); });
}

DynString upper(const DynString& s) {
    DynString result(s);
    upper_in_place(result);
    return result;
}

DynString lower(const DynString& s) {
    DynString result(s);
    lower_in_place(result);
    return result;
}

}  // namespace vexel
