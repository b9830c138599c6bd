// Vexel — DynArray, the engine's array of one to four dimensions over numbers, integers, texts
// or bytes. The first index varies fastest; every access is bounds-checked and a failed check
// ends the program.
#pragma once

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <utility>

#include <vexel/dyn_string.h>

namespace vexel {

//------------------------------------------------------------------------------------------------
// Capacity rules
//------------------------------------------------------------------------------------------------

// dim and redim size storage by capacity_for: count rounded down to a multiple of kStep, plus
// kStep. push, which must not copy the whole array every few elements, at least doubles the
// storage it outgrows, rounded up to a multiple of kStep (see DynArray::push).
template <int32_t kStepSize>
struct SteppedCapacity {
    static constexpr int64_t kStep = kStepSize;
    static constexpr int64_t capacity_for(int64_t count) { return count / kStep * kStep + kStep; }
};

// Storage of exactly count elements (the sprite commands' integer lists).
struct ExactCapacity {
    static constexpr int64_t kStep = 1;
    static constexpr int64_t capacity_for(int64_t count) { return count; }
};

template <typename T>
struct DefaultCapacity;
template <>
struct DefaultCapacity<double> : SteppedCapacity<8> {};
template <>
struct DefaultCapacity<int32_t> : SteppedCapacity<8> {};
template <>
struct DefaultCapacity<DynString> : SteppedCapacity<64> {};
template <>
struct DefaultCapacity<uint8_t> : SteppedCapacity<64> {};

// Orders two texts for DynArray::sort: negative when left sorts before right.
using TextCompare = double (*)(const DynString& left, const DynString& right);

//------------------------------------------------------------------------------------------------
// Fatal paths and text sorting (shared by every element type)
//------------------------------------------------------------------------------------------------

namespace array_detail {

// Arrays never hold more than this many bytes of elements, as in a 32-bit address space.
inline constexpr int64_t kMaxStorageBytes = INT32_MAX;

// Prints the bounds report for (i,j,0,0), (i,j,k,0) and (i,j,k,l), sets error 9, ends the program.
void report_out_of_bounds(const int32_t sizes[4], int32_t i, int32_t j, int32_t k, int32_t l);
// Sets error 7 and ends the program.
void fail_allocation();
// Sets error 8 and ends the program.
void fail_push_multi_dimensional();
// Quicksort of elements[first..last] (already clamped to the array), ascending by compare or,
// without one, by strcmp.
void sort_texts(DynString* elements, int32_t first, int32_t last, TextCompare compare);

}  // namespace array_detail

//------------------------------------------------------------------------------------------------
// DynArray
//------------------------------------------------------------------------------------------------

// Owns its storage exclusively; copies are deep. Every element up to capacity() is a valid
// object. The element at (i, j, k, l) lies at i + j * stride1 + k * stride2 + l * stride3.
template <typename T, typename Capacity = DefaultCapacity<T>>
class DynArray {
public:
    DynArray() noexcept = default;
    DynArray(const DynArray& other) {
        if (other.elements_) copy(other);
    }
    DynArray(DynArray&& other) noexcept { swap(other); }
    ~DynArray() { delete[] elements_; }

    DynArray& operator=(const DynArray& other) {
        if (this == &other) return *this;
        if (other.elements_) {
            copy(other);
        } else {
            DynArray empty;
            swap(empty);
        }
        return *this;
    }
    DynArray& operator=(DynArray&& other) noexcept {
        DynArray taken(std::move(other));
        swap(taken);
        return *this;
    }

    // Sets the shape and resets every element (numbers to 0, texts to empty). Storage that is
    // large enough is reused; a first size of 0 or less still leaves a small block.
    void dim(int32_t a, int32_t b = 0, int32_t c = 0, int32_t d = 0);
    // Changes the shape keeping the elements (i, j, 0, 0) that lie in both shapes; a first size
    // below 1 empties the shape and keeps the storage.
    void redim(int32_t a, int32_t b = 0, int32_t c = 0, int32_t d = 0);
    // The element after the bounds check; a negative first index counts from the end. A failed
    // check ends the program.
    T& at(int32_t i, int32_t j = 0, int32_t k = 0, int32_t l = 0);
    const T& at(int32_t i, int32_t j = 0, int32_t k = 0, int32_t l = 0) const;
    // Appends to a one-dimensional array; on a multi-dimensional one it ends the program.
    // Storage it outgrows is at least doubled, so pushes take amortised constant time.
    void push(const T& value);
    // Size of dimension n = 0..3; 0 for any other n.
    int32_t dim_size(int32_t n) const noexcept;
    // Takes other's shape and a copy of each of its elements.
    void copy(const DynArray& other);
    // Sorts the texts from first to last in place (clamped to the array); negative compare
    // results sort first, no compare means byte-wise ascending.
    void sort(int32_t first, int32_t last,
              TextCompare compare = nullptr) requires std::same_as<T, DynString> {
        first = std::max(first, 0);
        last = std::min(last, count_ - 1);
        if (elements_ && first < last) array_detail::sort_texts(elements_, first, last, compare);
    }

    T* elements() noexcept { return elements_; }
    const T* elements() const noexcept { return elements_; }
    int32_t stride1() const noexcept { return stride1_; }
    int32_t stride2() const noexcept { return stride2_; }
    int32_t stride3() const noexcept { return stride3_; }
    int32_t size1() const noexcept { return size1_; }
    int32_t size2() const noexcept { return size2_; }
    int32_t size3() const noexcept { return size3_; }
    int32_t size4() const noexcept { return size4_; }
    int32_t count() const noexcept { return count_; }
    int32_t dims() const noexcept { return dims_; }
    int32_t capacity() const noexcept { return capacity_; }

    void swap(DynArray& other) noexcept;

private:
    static bool index_fits(int32_t index, int32_t size) {
        return size == 0 ? index == 0 : index >= 0 && index < size;
    }
    bool access_fits(int32_t i, int32_t j, int32_t k, int32_t l) const {
        return elements_ && i >= 0 && i < size1_ && index_fits(j, size2_) &&
               index_fits(k, size3_) && index_fits(l, size4_);
    }
    // What a failed access yields when the program is already ending: never the storage.
    static T& scratch() {
        static T element{};
        element = T{};
        return element;
    }
    T& out_of_bounds(int32_t i, int32_t j, int32_t k, int32_t l) const {
        const int32_t sizes[4] = {size1_, size2_, size3_, size4_};
        array_detail::report_out_of_bounds(sizes, i, j, k, l);
        return scratch();
    }
    // The largest element count the storage limit allows.
    static constexpr int64_t kMaxCount =
        array_detail::kMaxStorageBytes / static_cast<int64_t>(sizeof(T));
    // Moves the elements into storage of push's growth rule; false when it cannot be had.
    bool grow_for_push(int32_t count);
    // count value-initialised elements, or null (last error 7 set) when the limit or the
    // allocator refuses them.
    static T* allocate(int64_t count);
    void clear_shape() noexcept {
        stride1_ = stride2_ = stride3_ = 0;
        size1_ = size2_ = size3_ = size4_ = 0;
        count_ = dims_ = 0;
    }
    bool lies_in_storage(const T* element) const noexcept {
        return elements_ && std::less_equal<const T*>()(elements_, element) &&
               std::less<const T*>()(element, elements_ + capacity_);
    }

    T* elements_ = nullptr;
    int32_t stride1_ = 0;
    int32_t stride2_ = 0;
    int32_t stride3_ = 0;
    int32_t size1_ = 0;
    int32_t size2_ = 0;
    int32_t size3_ = 0;
    int32_t size4_ = 0;
    int32_t count_ = 0;
    int32_t dims_ = 0;
    int32_t capacity_ = 0;
};

// Besides DynArray<double>, DynArray<int32_t> and DynArray<DynString>, the engine's own lists:
using ExactIntArray = DynArray<int32_t, ExactCapacity>;  // sprite command results
using ByteArray = DynArray<uint8_t>;                     // 3D object data

//------------------------------------------------------------------------------------------------
// DynArray implementation
//------------------------------------------------------------------------------------------------

template <typename T, typename Capacity>
void DynArray<T, Capacity>::dim(int32_t a, int32_t b, int32_t c, int32_t d) {
    // Sizes multiply in 64 bits and stop at the storage limit, so no shape can overflow.
    int64_t needed = std::max(a, 0);
    for (int32_t size : {b, c, d}) {
        needed *= std::max(size, 1);
        if (needed > kMaxCount) break;
    }
    const int64_t wanted = needed > kMaxCount ? needed : Capacity::capacity_for(needed);
    const bool grow = capacity_ < needed || a <= 0 || !elements_;
    if (grow) {
        T* fresh = allocate(wanted);
        if (!fresh) {
            clear_shape();
            return;
        }
        delete[] elements_;
        elements_ = fresh;
        capacity_ = static_cast<int32_t>(wanted);
    } else {
        std::fill(elements_, elements_ + needed, T{});
    }

    dims_ = d != 0 ? 4 : c != 0 ? 3 : b != 0 ? 2 : a > 0 ? 1 : 0;
    size1_ = std::max(a, 0);
    size2_ = b;
    size3_ = c;
    size4_ = d;
    // A missing middle dimension (size 0 or less) spans one step when a later one is present,
    // so that distinct indices never share an element.
    const int32_t span2 = b > 0 ? b : dims_ > 2 ? 1 : 0;
    const int32_t span3 = c > 0 ? c : dims_ > 3 ? 1 : 0;
    stride1_ = size1_;
    stride2_ = stride1_ * span2;
    stride3_ = stride2_ * span3;
    count_ = static_cast<int32_t>(needed);
}

template <typename T, typename Capacity>
void DynArray<T, Capacity>::redim(int32_t a, int32_t b, int32_t c, int32_t d) {
    if (a < 1) {
        clear_shape();
        return;
    }
    DynArray fresh;
    fresh.dim(a, b, c, d);
    if (!fresh.elements_) return;
    if (elements_) {
        const int32_t columns = std::min(size1_, fresh.size1_);
        const int32_t rows = std::min(std::max(size2_, 1), std::max(fresh.size2_, 1));
        for (int32_t j = 0; j < rows; ++j) {
            for (int32_t i = 0; i < columns; ++i) {
                fresh.elements_[i + j * fresh.stride1_] = std::move(elements_[i + j * stride1_]);
            }
        }
    }
    swap(fresh);
}

template <typename T, typename Capacity>
T& DynArray<T, Capacity>::at(int32_t i, int32_t j, int32_t k, int32_t l) {
    if (i < 0) i += size1_;
    if (access_fits(i, j, k, l)) [[likely]] {
        return elements_[i + j * stride1_ + k * stride2_ + l * stride3_];
    }
    return out_of_bounds(i, j, k, l);
}

template <typename T, typename Capacity>
const T& DynArray<T, Capacity>::at(int32_t i, int32_t j, int32_t k, int32_t l) const {
    if (i < 0) i += size1_;
    if (access_fits(i, j, k, l)) [[likely]] {
        return elements_[i + j * stride1_ + k * stride2_ + l * stride3_];
    }
    return out_of_bounds(i, j, k, l);
}

template <typename T, typename Capacity>
void DynArray<T, Capacity>::push(const T& value) {
    // A gap in the shape (size2 0, size3 set) is still more than one dimension.
    if (size2_ != 0 || size3_ != 0 || size4_ != 0) {
        array_detail::fail_push_multi_dimensional();
        return;
    }
    const int32_t grown = size1_ + 1;
    if (!elements_ || grown >= capacity_) {
        // Growing releases the old storage, which may hold the value itself.
        T kept = lies_in_storage(&value) ? T(value) : T{};
        const T& source = lies_in_storage(&value) ? kept : value;
        if (!grow_for_push(grown)) return;
        size1_ = stride1_ = count_ = grown;
        dims_ = 1;
        elements_[grown - 1] = source;
        return;
    }
    size1_ = stride1_ = count_ = grown;
    dims_ = 1;
    elements_[grown - 1] = value;
}

template <typename T, typename Capacity>
bool DynArray<T, Capacity>::grow_for_push(int32_t count) {
    // Room for one element more than count (push keeps the last one free), and at least twice
    // the old storage: n pushes then copy O(n) elements in all.
    constexpr int64_t kStep = Capacity::kStep;
    const int64_t doubled = std::max(int64_t{count} + 1, 2 * int64_t{capacity_});
    const int64_t wanted = std::min((doubled + kStep - 1) / kStep * kStep, kMaxCount);
    if (count > kMaxCount) {
        array_detail::fail_allocation();
        return false;
    }
    T* fresh = allocate(wanted);
    if (!fresh) return false;
    if (elements_) std::move(elements_, elements_ + size1_, fresh);
    delete[] elements_;
    elements_ = fresh;
    capacity_ = static_cast<int32_t>(wanted);
    return true;
}

template <typename T, typename Capacity>
T* DynArray<T, Capacity>::allocate(int64_t count) {
    T* fresh = nullptr;
    if (count <= kMaxCount) {
        try {
            fresh = new T[static_cast<size_t>(count)]();
        } catch (const std::bad_alloc&) {
            fresh = nullptr;
        }
    }
    if (!fresh) array_detail::fail_allocation();
    return fresh;
}

template <typename T, typename Capacity>
int32_t DynArray<T, Capacity>::dim_size(int32_t n) const noexcept {
    switch (n) {
        case 0:
            return size1_;
        case 1:
            return size2_;
        case 2:
            return size3_;
        case 3:
            return size4_;
        default:
            return 0;
    }
}

template <typename T, typename Capacity>
void DynArray<T, Capacity>::copy(const DynArray& other) {
    if (this == &other) return;
    dim(other.size1_, other.size2_, other.size3_, other.size4_);
    if (!elements_ || !other.elements_) return;
    std::copy(other.elements_, other.elements_ + std::min(count_, other.count_), elements_);
}

template <typename T, typename Capacity>
void DynArray<T, Capacity>::swap(DynArray& other) noexcept {
    std::swap(elements_, other.elements_);
    std::swap(stride1_, other.stride1_);
    std::swap(stride2_, other.stride2_);
    std::swap(stride3_, other.stride3_);
    std::swap(size1_, other.size1_);
    std::swap(size2_, other.size2_);
    std::swap(size3_, other.size3_);
    std::swap(size4_, other.size4_);
    std::swap(count_, other.count_);
    std::swap(dims_, other.dims_);
    std::swap(capacity_, other.capacity_);
}

}  // namespace vexel
