// Vexel — DynString, the engine's text value, and the rules that turn numbers into text and back.
#pragma once

#include <compare>
#include <cstdint>
#include <type_traits>

namespace vexel {

//------------------------------------------------------------------------------------------------
// DynString
//------------------------------------------------------------------------------------------------

// A growable, zero-terminated byte string. Empty strings share one static buffer and allocate
// nothing; every other string owns its block exclusively. Bytes are 8-bit text; zero bytes inside
// survive the operations that work with length().
class DynString {
public:
    DynString() noexcept;
    DynString(const char* text);     // NOLINT: C text converts implicitly, as a script expects
    DynString(const wchar_t* text);  // NOLINT: converted with the current locale
    DynString(const DynString& other);
    DynString(DynString&& other) noexcept;
    explicit DynString(int32_t value);  // the number's text
    explicit DynString(float value);
    explicit DynString(double value);
    ~DynString();

    DynString& operator=(const DynString& other);  // assign
    DynString& operator=(DynString&& other) noexcept;
    DynString& operator=(const char* text);  // assign from C text
    DynString& operator=(const wchar_t* text);

    // Takes an exact-size block for the C text (capacity = length + 1). The text may lie in this
    // string's own block.
    void assign(const char* text);
    // Keeps the block when it is large enough; an empty source empties the string in place.
    void assign(const DynString& other);
    // Frees the block (never the shared buffer) and leaves the string empty.
    void release() noexcept;

    // Room for n text bytes plus the terminator; capacity grows to a multiple of 16 and never
    // shrinks. keep = false discards the text (length is left for the caller to set). A size no
    // block can hold is out of memory: last error 7 and std::bad_alloc, the text unchanged.
    void reserve(uint32_t n, bool keep);
    // reserve(n, keep) and a block of its own to write into, even for n = 0; call sync_length
    // afterwards.
    char* buffer(uint32_t n);
    // length := index of the first zero byte; a block without one loses its last byte.
    void sync_length();
    // Cuts the text to n bytes when 0 <= n < length.
    void truncate(int32_t n);
    // Removes trailing bytes below 32 (CR, LF, tab, ...).
    void trim_control_tail();
    // The text as wide characters in a shared buffer valid until the next call; long texts are cut.
    const wchar_t* to_wide() const;

    DynString& append(char c);
    DynString& append(const char* text);
    DynString& append(const char* bytes, uint32_t count);
    DynString& append(const DynString& other);
    DynString& append(int32_t value);
    DynString& append(float value);
    DynString& append(double value);
    template <typename T>
    DynString& operator+=(const T& value) {
        return append(value);
    }

    const char* c_str() const noexcept { return data_; }
    // Writable bytes: an empty string first takes a block of its own, so that the shared empty
    // buffer is never written.
    char* data();
    uint32_t length() const noexcept { return length_; }
    uint32_t capacity() const noexcept { return capacity_; }
    bool empty() const noexcept { return length_ == 0; }
    // True while the string holds the shared empty buffer and owns no block.
    bool uses_shared_buffer() const noexcept;
    char operator[](uint32_t index) const noexcept { return data_[index]; }

    // Exchanges the three fields; no text is copied.
    void swap(DynString& other) noexcept;

private:
    void take_number_text(double value);
    void own_block();

    char* data_;
    uint32_t capacity_;
    uint32_t length_;
};

//------------------------------------------------------------------------------------------------
// Numbers and text
//------------------------------------------------------------------------------------------------

// At most 10 significant digits, rounded half away from zero; fixed notation for magnitudes from
// 0.1 to below 1e10, else "d.ddde+XXX"; no trailing fraction zeros or point (100, 1.5, 5.e-002).
// Infinities and NaN give "inf", "-inf" and "nan".
DynString number_to_text(double value);
DynString number_to_text(int32_t value);
// Writes the text of a double into out (at least 32 bytes) and returns its length.
uint32_t format_double(double value, char* out);

// White space, sign, digits, fraction, exponent; stops at the first byte that does not fit;
// no number gives 0. Hexadecimal, "inf", "nan" and locale decimal points are not numbers.
double text_to_double(const char* text);
// White space, sign, decimal digits; no number gives 0; saturates at the int32 limits.
int32_t text_to_int(const char* text);
inline double text_to_double(const DynString& text) {
    return text_to_double(text.c_str());
}
inline int32_t text_to_int(const DynString& text) {
    return text_to_int(text.c_str());
}

//------------------------------------------------------------------------------------------------
// Concatenation
//------------------------------------------------------------------------------------------------

// A copy of the left operand with the right one appended; a number on either side becomes its
// text, so concat(1, "a") is "1a". All 16 pairs of {C text, DynString} with {C text, DynString,
// number}, and of numbers with texts.
template <typename L, typename R>
DynString concat(const L& left, const R& right) {
    static_assert(!(std::is_arithmetic_v<L> && std::is_arithmetic_v<R>),
                  "a number plus a number is arithmetic, not text");
    DynString result(left);
    result.append(right);
    return result;
}

// The operator forms of concat, for the pairs in which a DynString takes part.
DynString operator+(const DynString& left, const DynString& right);
DynString operator+(const DynString& left, const char* right);
DynString operator+(const DynString& left, int32_t right);
DynString operator+(const DynString& left, float right);
DynString operator+(const DynString& left, double right);
DynString operator+(const char* left, const DynString& right);
DynString operator+(int32_t left, const DynString& right);
DynString operator+(float left, const DynString& right);
DynString operator+(double left, const DynString& right);

//------------------------------------------------------------------------------------------------
// Comparison
//------------------------------------------------------------------------------------------------

// Text with text: byte-wise as strcmp, stopping at the first zero byte.
// Text with a float or double: the text's double value against the number (NaN is unordered).
// Text with an int: the text's int value against the number.
bool operator==(const DynString& left, const DynString& right);
bool operator==(const DynString& left, const char* right);
bool operator==(const DynString& left, int32_t right);
bool operator==(const DynString& left, double right);
bool operator==(const DynString& left, float right);
std::strong_ordering operator<=>(const DynString& left, const DynString& right);
std::strong_ordering operator<=>(const DynString& left, const char* right);
std::strong_ordering operator<=>(const DynString& left, int32_t right);
std::partial_ordering operator<=>(const DynString& left, double right);
std::partial_ordering operator<=>(const DynString& left, float right);

// Three-way comparisons used by sorting: -1, 0 or 1 (NaN compares as 0).
int compare(const char* left, const char* right);
int compare(const char* text, double number);
int compare(const char* text, int32_t number);
inline int compare(const DynString& left, const DynString& right) {
    return compare(left.c_str(), right.c_str());
}
inline int compare(const DynString& text, double number) {
    return compare(text.c_str(), number);
}
inline int compare(const DynString& text, int32_t number) {
    return compare(text.c_str(), number);
}

}  // namespace vexel
