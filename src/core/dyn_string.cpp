#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>

#include <new>

#include <vexel/dyn_string.h>
#include <vexel/error.h>

#include "core/text_limits.h"

namespace vexel {

namespace {

// Every empty string points here. It is never written and never freed.
alignas(16) const char kSharedEmpty[16] = {};

char* shared_empty() {
    return const_cast<char*>(kSharedEmpty);
}

// Room kept for the wide copy handed out by to_wide; longer texts are cut.
constexpr size_t kWideBufferChars = 4096;

uint32_t rounded_capacity(uint32_t n) {
    return ((n + 1) & ~15u) + 16;
}

// A text longer than any block can hold is out of memory, like an allocator that gives up.
void fail_out_of_memory() {
    set_error(7);
    throw std::bad_alloc();
}

uint32_t checked_length(size_t length) {
    if (length > kMaxTextLength) fail_out_of_memory();
    return static_cast<uint32_t>(length);
}

}  // namespace

DynString::DynString() noexcept : data_(shared_empty()), capacity_(0), length_(0) {}

DynString::DynString(const char* text) : DynString() {
    if (!text) return;
    const uint32_t count = checked_length(std::strlen(text));
    if (count == 0) return;
    reserve(count, false);
    std::memcpy(data_, text, count + 1);
    length_ = count;
}

DynString::DynString(const wchar_t* text) : DynString() {
    *this = text;
}

DynString::DynString(const DynString& other) : DynString() {
    if (other.length_ == 0) return;
    reserve(other.length_, false);
    std::memcpy(data_, other.data_, other.length_ + 1);
    length_ = other.length_;
}

DynString::DynString(DynString&& other) noexcept
    : data_(std::exchange(other.data_, shared_empty())),
      capacity_(std::exchange(other.capacity_, 0)),
      length_(std::exchange(other.length_, 0)) {}

DynString::DynString(int32_t value) : DynString() {
    *this = number_to_text(value);
}
DynString::DynString(float value) : DynString() {
    take_number_text(value);
}
DynString::DynString(double value) : DynString() {
    take_number_text(value);
}

DynString::~DynString() {
    release();
}

void DynString::take_number_text(double value) {
    reserve(63, false);
    length_ = format_double(value, data_);
}

DynString& DynString::operator=(const DynString& other) {
    assign(other);
    return *this;
}

DynString& DynString::operator=(DynString&& other) noexcept {
    if (this != &other) {
        release();
        swap(other);
    }
    return *this;
}

DynString& DynString::operator=(const char* text) {
    assign(text);
    return *this;
}

DynString& DynString::operator=(const wchar_t* text) {
    release();
    if (!text) return *this;
    const size_t wide_length = std::wcslen(text);
    reserve(checked_length(wide_length + 1), false);
    std::mbstate_t state{};
    const wchar_t* source = text;
    const size_t converted = std::wcsrtombs(data_, &source, wide_length + 1, &state);
    if (converted == static_cast<size_t>(-1)) {
        // A character the locale cannot represent: the whole text is refused.
        release();
        return *this;
    }
    // Multi-byte characters can need more than the room reserved; keep what fitted.
    data_[converted < capacity_ ? converted : capacity_ - 1] = 0;
    sync_length();
    return *this;
}

void DynString::assign(const char* text) {
    const size_t count = text ? std::strlen(text) : 0;
    if (count == 0) {
        release();
        return;
    }
    checked_length(count);
    // The text may lie in the old block: copy it out before that block goes.
    char* block = new char[count + 1];
    std::memcpy(block, text, count + 1);
    release();
    data_ = block;
    capacity_ = static_cast<uint32_t>(count + 1);
    length_ = static_cast<uint32_t>(count);
}

void DynString::assign(const DynString& other) {
    if (data_ == other.data_) return;
    if (other.length_ == 0) {
        if (!uses_shared_buffer()) data_[0] = 0;
        length_ = 0;
        return;
    }
    reserve(other.length_, false);
    std::memcpy(data_, other.data_, other.length_ + 1);
    length_ = other.length_;
}

void DynString::release() noexcept {
    if (!uses_shared_buffer()) delete[] data_;
    data_ = shared_empty();
    capacity_ = 0;
    length_ = 0;
}

bool DynString::uses_shared_buffer() const noexcept {
    return data_ == kSharedEmpty || data_ == nullptr;
}

void DynString::reserve(uint32_t n, bool keep) {
    if (n == 0 || uint64_t{capacity_} >= uint64_t{n} + 1) return;
    if (n > kMaxTextLength) fail_out_of_memory();
    const uint32_t new_capacity = rounded_capacity(n);
    char* block = new char[new_capacity];
    if (keep && length_ > 0) {
        std::memcpy(block, data_, length_);
        block[length_] = 0;
    } else {
        std::memset(block, 0, 4);
    }
    if (!uses_shared_buffer()) delete[] data_;
    data_ = block;
    capacity_ = new_capacity;
}

char* DynString::buffer(uint32_t n) {
    reserve(n, true);
    own_block();
    return data_;
}

char* DynString::data() {
    own_block();
    return data_;
}

void DynString::own_block() {
    if (!uses_shared_buffer()) return;
    char* block = new char[16]();
    data_ = block;
    capacity_ = 16;
    length_ = 0;
}

void DynString::sync_length() {
    if (capacity_ == 0) {
        length_ = 0;
        return;
    }
    const void* zero = std::memchr(data_, 0, capacity_);
    if (zero) {
        length_ = static_cast<uint32_t>(static_cast<const char*>(zero) - data_);
        return;
    }
    length_ = capacity_ - 1;
    data_[length_] = 0;
}

void DynString::truncate(int32_t n) {
    if (n < 0 || static_cast<uint32_t>(n) >= length_) return;
    data_[n] = 0;
    length_ = static_cast<uint32_t>(n);
}

void DynString::trim_control_tail() {
    uint32_t end = length_;
    while (end > 0 && static_cast<unsigned char>(data_[end - 1]) < 32)
        --end;
    if (end == length_) return;
    data_[end] = 0;
    length_ = end;
}

const wchar_t* DynString::to_wide() const {
    static wchar_t wide[kWideBufferChars];
    std::mbstate_t state{};
    const char* source = data_;
    size_t converted = std::mbsrtowcs(wide, &source, kWideBufferChars - 1, &state);
    if (converted == static_cast<size_t>(-1)) converted = 0;
    wide[converted] = 0;
    return wide;
}

DynString& DynString::append(const char* bytes, uint32_t count) {
    if (count == 0) return *this;
    if (uint64_t{length_} + count > kMaxTextLength) fail_out_of_memory();
    // The source may lie in this string's own block; take a copy before it can move.
    if (bytes >= data_ && bytes < data_ + length_ + 1 && !uses_shared_buffer()) {
        DynString copy;
        copy.reserve(count, false);
        std::memcpy(copy.data_, bytes, count);
        copy.data_[count] = 0;
        copy.length_ = count;
        return append(copy.data_, count);
    }
    reserve(length_ + count, true);
    std::memcpy(data_ + length_, bytes, count);
    length_ += count;
    data_[length_] = 0;
    return *this;
}

DynString& DynString::append(char c) {
    return append(&c, 1);
}

DynString& DynString::append(const char* text) {
    if (!text) return *this;
    return append(text, checked_length(std::strlen(text)));
}

DynString& DynString::append(const DynString& other) {
    return append(other.data_, other.length_);
}

DynString& DynString::append(int32_t value) {
    return append(number_to_text(value));
}

DynString& DynString::append(float value) {
    return append(static_cast<double>(value));
}

DynString& DynString::append(double value) {
    char text[32];
    return append(text, format_double(value, text));
}

void DynString::swap(DynString& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(capacity_, other.capacity_);
    std::swap(length_, other.length_);
}

DynString operator+(const DynString& left, const DynString& right) {
    return concat(left, right);
}
DynString operator+(const DynString& left, const char* right) {
    return concat(left, right);
}
DynString operator+(const DynString& left, int32_t right) {
    return concat(left, right);
}
DynString operator+(const DynString& left, float right) {
    return concat(left, right);
}
DynString operator+(const DynString& left, double right) {
    return concat(left, right);
}
DynString operator+(const char* left, const DynString& right) {
    return concat(left, right);
}
DynString operator+(int32_t left, const DynString& right) {
    return concat(left, right);
}
DynString operator+(float left, const DynString& right) {
    return concat(left, right);
}
DynString operator+(double left, const DynString& right) {
    return concat(left, right);
}

}  // namespace vexel
