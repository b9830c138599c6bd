#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vexel/app.h>
#include <vexel/dyn_array.h>
#include <vexel/error.h>

namespace vexel {
namespace {

using ::testing::ExitedWithCode;
using ::testing::HasSubstr;

// One line of the report for a 5-element array accessed at 5.
constexpr const char kFiveAtFive[] = "bounds: [   5]\naccess: [   5]\n";

// Reports the last error from inside end_program, so death tests see that it was set first.
double report_last_error() {
    char line[32];
    std::snprintf(line, sizeof line, "last error %d\n", last_error_code());
    write_stderr(line);
    return 0;
}

const CallbackEntry kReportOnQuit[] = {{report_last_error, "VXL_ON_QUIT"}, {nullptr, nullptr}};

// The child of a death test: the last error is printed on quit and standard output joins
// standard error, so the matcher sees the report, the error and "exit" in the order written.
void prepare_fatal_run() {
    set_callback_table(kReportOnQuit);
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int n = 0; n < times; ++n)
        result += text;
    return result;
}

//------------------------------------------------------------------------------------------------
// Shape
//------------------------------------------------------------------------------------------------

TEST(DynArrayShape, StartsWithoutStorageAndAllFieldsZero) {
    DynArray<double> a;
    EXPECT_EQ(a.elements(), nullptr);
    for (int32_t field : {a.stride1(), a.stride2(), a.stride3(), a.size1(), a.size2(), a.size3(),
                          a.size4(), a.count(), a.dims(), a.capacity()}) {
        EXPECT_EQ(field, 0);
    }
}

TEST(DynArrayShape, DimZeroHasNoDimensionsButKeepsASmallBlock) {
    DynArray<double> numbers;
    numbers.dim(0, 0, 0, 0);
    EXPECT_EQ(numbers.dims(), 0);
    EXPECT_EQ(numbers.count(), 0);
    EXPECT_NE(numbers.elements(), nullptr);
    EXPECT_EQ(numbers.capacity(), 8);

    DynArray<DynString> texts;
    texts.dim(-3);
    EXPECT_EQ(texts.dims(), 0);
    EXPECT_EQ(texts.size1(), 0);
    EXPECT_EQ(texts.count(), 0);
    EXPECT_EQ(texts.capacity(), 64);

    ExactIntArray exact;
    exact.dim(0);
    EXPECT_NE(exact.elements(), nullptr);
    EXPECT_EQ(exact.capacity(), 0);
}

TEST(DynArrayShape, TwoDimensionsStoreTheFirstIndexFastest) {
    DynArray<int32_t> a;
    a.dim(3, 2, 0, 0);
    EXPECT_EQ(a.dims(), 2);
    EXPECT_EQ(a.count(), 6);
    EXPECT_EQ(a.stride1(), 3);
    EXPECT_EQ(a.stride2(), 6);
    EXPECT_EQ(a.stride3(), 0);
    EXPECT_EQ(&a.at(2, 1), &a.elements()[5]);
    for (int32_t j = 0; j < 2; ++j) {
        for (int32_t i = 0; i < 3; ++i)
            a.at(i, j) = 10 * j + i;
    }
    const std::vector<int32_t> stored(a.elements(), a.elements() + a.count());
    EXPECT_EQ(stored, (std::vector<int32_t>{0, 1, 2, 10, 11, 12}));
}

TEST(DynArrayShape, FourDimensionsUseAllThreeStrides) {
    DynArray<double> a;
    a.dim(2, 3, 4, 5);
    EXPECT_EQ(a.dims(), 4);
    EXPECT_EQ(a.count(), 120);
    EXPECT_EQ(a.stride1(), 2);
    EXPECT_EQ(a.stride2(), 6);
    EXPECT_EQ(a.stride3(), 24);
    EXPECT_EQ(&a.at(1, 2, 3, 4), &a.elements()[1 + 2 * 2 + 3 * 6 + 4 * 24]);
    EXPECT_EQ(&a.at(1, 2, 3, 4), &a.elements()[119]);

    DynArray<double> three;
    three.dim(4, 2, 3);
    EXPECT_EQ(three.dims(), 3);
    EXPECT_EQ(three.count(), 24);
    EXPECT_EQ(&three.at(3, 1, 2), &three.elements()[23]);
}

TEST(DynArrayShape, AMissingMiddleDimensionNeverMakesTwoIndicesShareAnElement) {
    DynArray<int32_t> a;
    a.dim(4, 0, 3);
    EXPECT_EQ(a.dims(), 3);
    EXPECT_EQ(a.count(), 12);
    std::vector<int32_t*> seen;
    for (int32_t k = 0; k < 3; ++k) {
        for (int32_t i = 0; i < 4; ++i)
            seen.push_back(&a.at(i, 0, k));
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen.front(), a.elements());
    EXPECT_EQ(seen.back(), a.elements() + 11);
}

TEST(DynArrayShape, DimSizeNamesEachDimensionAndZeroOtherwise) {
    DynArray<double> a;
    a.dim(7, 6, 5, 4);
    EXPECT_EQ(a.dim_size(0), 7);
    EXPECT_EQ(a.dim_size(1), 6);
    EXPECT_EQ(a.dim_size(2), 5);
    EXPECT_EQ(a.dim_size(3), 4);
    EXPECT_EQ(a.dim_size(4), 0);
    EXPECT_EQ(a.dim_size(-1), 0);
}

//------------------------------------------------------------------------------------------------
// Storage
//------------------------------------------------------------------------------------------------

template <typename Array>
std::vector<int32_t> capacities_after_dim(const std::vector<int32_t>& counts) {
    std::vector<int32_t> result;
    for (int32_t count : counts) {
        Array a;
        a.dim(count);
        result.push_back(a.capacity());
    }
    return result;
}

TEST(DynArrayStorage, EachElementTypeGrowsByItsOwnRule) {
    const std::vector<int32_t> small = {1, 7, 8, 9, 15, 16, 100};
    const std::vector<int32_t> by_eight = {8, 8, 16, 16, 16, 24, 104};
    EXPECT_EQ(capacities_after_dim<DynArray<double>>(small), by_eight);
    EXPECT_EQ(capacities_after_dim<DynArray<int32_t>>(small), by_eight);
    EXPECT_EQ(capacities_after_dim<ExactIntArray>(small), small);

    const std::vector<int32_t> large = {1, 63, 64, 65, 127, 128, 1000};
    const std::vector<int32_t> by_sixty_four = {64, 64, 128, 128, 128, 192, 1024};
    EXPECT_EQ(capacities_after_dim<DynArray<DynString>>(large), by_sixty_four);
    EXPECT_EQ(capacities_after_dim<ByteArray>(large), by_sixty_four);
}

TEST(DynArrayStorage, DimReusesLargeEnoughStorageAndResetsEveryElement) {
    DynArray<double> a;
    a.dim(100);
    const double* storage = a.elements();
    for (int32_t i = 0; i < 100; ++i)
        a.at(i) = i + 0.5;
    a.dim(10, 5);
    EXPECT_EQ(a.elements(), storage);
    EXPECT_EQ(a.capacity(), 104);
    for (int32_t n = 0; n < a.count(); ++n)
        EXPECT_EQ(a.elements()[n], 0.0);
    a.dim(104);
    EXPECT_EQ(a.elements(), storage);
    a.dim(105);
    EXPECT_EQ(a.capacity(), 112);
    a.dim(0);
    EXPECT_EQ(a.capacity(), 8);
}

TEST(DynArrayStorage, DimEmptiesTextsAndBytes) {
    DynArray<DynString> texts;
    texts.dim(3);
    texts.at(0) = "one";
    texts.at(2) = "three";
    texts.dim(2, 2);
    for (int32_t n = 0; n < 4; ++n)
        EXPECT_STREQ(texts.elements()[n].c_str(), "");

    ByteArray bytes;
    bytes.dim(70);
    bytes.at(69) = 0xfe;
    EXPECT_EQ(bytes.at(-1), 0xfe);
    bytes.dim(70);
    EXPECT_EQ(bytes.at(69), 0);
}

TEST(DynArrayStorage, SizesBeyondTheStorageLimitFailAsOutOfMemory) {
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<double> a;
            a.dim(50000, 50000);
        },
        ExitedWithCode(0), "^vexel: out of memory for an array\nlast error 7\nexit\n$");
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            ByteArray a;
            a.dim(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
        },
        ExitedWithCode(0), "^vexel: out of memory for an array\nlast error 7\nexit\n$");
}

TEST(DynArrayStorage, AFailedAllocationIsOutOfMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#endif
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            rlimit limit;
            limit.rlim_cur = limit.rlim_max = 256u << 20;
            setrlimit(RLIMIT_AS, &limit);
            DynArray<double> a;
            a.dim(64 << 20);
        },
        ExitedWithCode(0), "^vexel: out of memory for an array\nlast error 7\nexit\n$");
}

//------------------------------------------------------------------------------------------------
// Access
//------------------------------------------------------------------------------------------------

TEST(DynArrayAccess, ANegativeFirstIndexCountsFromTheEnd) {
    DynArray<int32_t> a;
    a.dim(5);
    for (int32_t i = 0; i < 5; ++i)
        a.at(i) = 100 + i;
    EXPECT_EQ(a.at(-1), 104);
    EXPECT_EQ(&a.at(-1), &a.at(4));
    EXPECT_EQ(a.at(-5), 100);
    const DynArray<int32_t>& view = a;
    EXPECT_EQ(view.at(-2), 103);
    EXPECT_EQ(view.at(3, 0, 0, 0), 103);

    DynArray<int32_t> grid;
    grid.dim(3, 2);
    EXPECT_EQ(&grid.at(-1, 1), &grid.at(2, 1));
}

TEST(DynArrayAccess, OneOutOfRangeAccessReportsThreeTimesAndEndsTheProgram) {
    const std::string expected =
        repeated(kFiveAtFive, 3) + "vexel: array index 5 is outside 0..4\nlast error 9\nexit\n";
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<double> a;
            a.dim(5);
            a.at(5) = 1;
        },
        ExitedWithCode(0), ::testing::Eq(expected));
}

TEST(DynArrayAccess, TheReportListsEachDimensionInFourCharacters) {
    const std::string ten_by_three = "bounds: [  10][   3]\naccess: [  12][   1]\n";
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<int32_t> a;
            a.dim(10, 3);
            a.at(12, 1);
        },
        ExitedWithCode(0),
        ::testing::Eq(repeated(ten_by_three, 3) +
                      "vexel: array index (12, 1) is outside (0..9, 0..2)\nlast error 9\nexit\n"));

    // The three reports show the access with its third and fourth index added one by one.
    const std::string four =
        std::string("bounds: [   2][   2][   2][   2]\naccess: [   1][   1][   0][   0]\n") +
        "bounds: [   2][   2][   2][   2]\naccess: [   1][   1][   1][   0]\n" +
        "bounds: [   2][   2][   2][   2]\naccess: [   1][   1][   1][  19]\n";
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<DynString> a;
            a.dim(2, 2, 2, 2);
            a.at(1, 1, 1, 19);
        },
        ExitedWithCode(0),
        ::testing::Eq(four +
                      "vexel: array index (1, 1, 1, 19) is outside (0..1, 0..1, 0..1, 0..1)\n"
                      "last error 9\nexit\n"));
}

TEST(DynArrayAccess, TheReportShowsTheFirstIndexAfterCountingFromTheEnd) {
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<double> a;
            a.dim(5);
            a.at(-6);
        },
        ExitedWithCode(0),
        ::testing::Eq(repeated("bounds: [   5]\naccess: [  -1]\n", 3) +
                      "vexel: array index -1 is outside 0..4\nlast error 9\nexit\n"));
}

TEST(DynArrayAccess, IndicesForMissingDimensionsMustBeZero) {
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<double> a;
            a.dim(5);
            a.at(0, 1);
        },
        ExitedWithCode(0),
        ::testing::Eq(repeated("bounds: [   5]\naccess: [   0]\n", 3) +
                      "vexel: array index (0, 1) is outside (0..4, 0)\nlast error 9\nexit\n"));
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<double> a;
            a.dim(4, 0, 3);
            a.at(0, 1, 0);
        },
        ExitedWithCode(0), HasSubstr("bounds: [   4][   3]\naccess: [   0][   0]\n"));
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<double> a;
            a.dim(2, 2);
            a.at(0, -1);
        },
        ExitedWithCode(0), HasSubstr("access: [   0][  -1]\nbounds"));
}

TEST(DynArrayAccess, AnArrayWithoutStorageOrShapeHasNoValidIndex) {
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            const DynArray<int32_t> a;
            a.at(0);
        },
        ExitedWithCode(0),
        ::testing::Eq(repeated("bounds: [   0]\naccess: [   0]\n", 3) +
                      "vexel: array index 0 used on an empty array\nlast error 9\nexit\n"));
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<int32_t> a;
            a.dim(4);
            a.redim(0);
            a.at(0);
        },
        ExitedWithCode(0), HasSubstr("last error 9\n"));
}

// While the program is already ending, a failed access is reported again but must yield an
// element outside the storage.
DynArray<int32_t>* g_quitting_array = nullptr;

double access_out_of_range_while_ending() {
    DynArray<int32_t>& a = *g_quitting_array;
    int32_t& wrong = a.at(5);
    const bool outside = &wrong < a.elements() || &wrong >= a.elements() + a.capacity();
    wrong = 42;
    const bool storage_kept = std::count(a.elements(), a.elements() + a.capacity(), 42) == 0;
    const bool reads_zero = a.at(7) == 0;
    write_stderr(outside && storage_kept && reads_zero ? "scratch only\n" : "storage touched\n");
    return 0;
}

const CallbackEntry kAccessOnQuit[] = {{access_out_of_range_while_ending, "VXL_ON_QUIT"},
                                       {nullptr, nullptr}};

TEST(DynArrayAccess, AFailedAccessWhileEndingNeverTouchesTheStorage) {
    EXPECT_EXIT(
        {
            static DynArray<int32_t> a;
            a.dim(5);
            g_quitting_array = &a;
            set_callback_table(kAccessOnQuit);
            a.at(9);
        },
        ExitedWithCode(0), HasSubstr("scratch only\n"));
}

//------------------------------------------------------------------------------------------------
// Redim
//------------------------------------------------------------------------------------------------

TEST(DynArrayRedim, KeepsTheOverlapOfTwoDimensionsAndResetsTheRest) {
    DynArray<double> a;
    a.dim(4, 4);
    for (int32_t j = 0; j < 4; ++j) {
        for (int32_t i = 0; i < 4; ++i)
            a.at(i, j) = 1 + i + 10 * j;
    }
    a.redim(2, 6);
    EXPECT_EQ(a.dims(), 2);
    EXPECT_EQ(a.count(), 12);
    EXPECT_EQ(a.stride1(), 2);
    for (int32_t j = 0; j < 6; ++j) {
        for (int32_t i = 0; i < 2; ++i) {
            EXPECT_EQ(a.at(i, j), j < 4 ? 1 + i + 10 * j : 0) << i << "," << j;
        }
    }
}

TEST(DynArrayRedim, OneDimensionKeepsTheCommonPrefix) {
    DynArray<DynString> a;
    a.dim(3);
    a.at(0) = "a";
    a.at(1) = "b";
    a.at(2) = "c";
    a.redim(70);
    EXPECT_EQ(a.capacity(), 128);
    EXPECT_STREQ(a.at(2).c_str(), "c");
    EXPECT_STREQ(a.at(3).c_str(), "");
    a.redim(2);
    EXPECT_EQ(a.count(), 2);
    EXPECT_STREQ(a.at(0).c_str(), "a");
    EXPECT_STREQ(a.at(1).c_str(), "b");
}

TEST(DynArrayRedim, ChangingTheNumberOfDimensionsKeepsTheFirstRow) {
    DynArray<int32_t> a;
    a.dim(4);
    for (int32_t i = 0; i < 4; ++i)
        a.at(i) = i + 1;
    a.redim(3, 2);
    EXPECT_EQ(a.at(2, 0), 3);
    EXPECT_EQ(a.at(0, 1), 0);
    a.at(1, 1) = 9;
    a.redim(5);
    EXPECT_EQ(a.dims(), 1);
    const std::vector<int32_t> kept(a.elements(), a.elements() + a.count());
    EXPECT_EQ(kept, (std::vector<int32_t>{1, 2, 3, 0, 0}));
}

TEST(DynArrayRedim, ElementsBeyondTheFirstPlaneAreNotCarriedOver) {
    DynArray<int32_t> a;
    a.dim(2, 2, 2);
    for (int32_t n = 0; n < a.count(); ++n)
        a.elements()[n] = n + 1;
    a.redim(2, 2, 2);
    EXPECT_EQ(a.at(1, 1, 0), 4);
    EXPECT_EQ(a.at(0, 0, 1), 0);
    EXPECT_EQ(a.at(1, 1, 1), 0);
}

TEST(DynArrayRedim, AFirstSizeBelowOneEmptiesTheShapeAndKeepsTheStorage) {
    DynArray<double> a;
    a.dim(3, 3);
    const double* storage = a.elements();
    a.redim(0, 5);
    EXPECT_EQ(a.elements(), storage);
    EXPECT_EQ(a.capacity(), 16);
    for (int32_t field : {a.stride1(), a.stride2(), a.stride3(), a.size1(), a.size2(), a.size3(),
                          a.size4(), a.count(), a.dims()}) {
        EXPECT_EQ(field, 0);
    }
}

//------------------------------------------------------------------------------------------------
// Push
//------------------------------------------------------------------------------------------------

TEST(DynArrayPush, GrowsInPlaceWhileThereIsRoom) {
    DynArray<DynString> a;
    a.dim(7);
    for (int32_t i = 0; i < 7; ++i)
        a.at(i) = DynString(i);
    const DynString* storage = a.elements();
    ASSERT_EQ(a.capacity(), 64);
    a.push("eighth");
    EXPECT_EQ(a.elements(), storage);
    EXPECT_EQ(a.capacity(), 64);
    EXPECT_EQ(a.size1(), 8);
    EXPECT_EQ(a.count(), 8);
    EXPECT_STREQ(a.at(7).c_str(), "eighth");
    EXPECT_STREQ(a.at(6).c_str(), "6");
}

TEST(DynArrayPush, ReallocatesByTheCapacityRuleAndKeepsEveryElement) {
    DynArray<double> a;
    std::vector<int32_t> capacities;
    for (int32_t n = 0; n < 17; ++n) {
        a.push(n * 1.5);
        capacities.push_back(a.capacity());
    }
    // The last free element is never used: a push that would fill the block reallocates, to
    // twice the storage rounded up to the step of 8.
    EXPECT_EQ(capacities,
              (std::vector<int32_t>{8, 8, 8, 8, 8, 8, 8, 16, 16, 16, 16, 16, 16, 16, 16, 32, 32}));
    EXPECT_EQ(a.dims(), 1);
    EXPECT_EQ(a.count(), 17);
    for (int32_t n = 0; n < 17; ++n)
        EXPECT_EQ(a.at(n), n * 1.5);

    ExactIntArray exact;
    for (int32_t n = 0; n < 5; ++n)
        exact.push(n);
    EXPECT_EQ(exact.capacity(), 8);
    EXPECT_EQ(exact.at(-1), 4);
}

TEST(DynArrayPush, StorageGrowsGeometricallyWhileDimKeepsTheStepRule) {
    DynArray<double> numbers;
    DynArray<DynString> texts;
    int reallocations = 0;
    const double* storage = nullptr;
    for (int32_t n = 0; n < 100000; ++n) {
        numbers.push(n);
        if (numbers.elements() != storage) ++reallocations;
        storage = numbers.elements();
        if (n < 5000) texts.push(DynString(n));
    }
    // Doubling from 8 reaches 100,000 in 14 steps; steps of 8 would take 12,500.
    EXPECT_LE(reallocations, 15);
    EXPECT_EQ(numbers.count(), 100000);
    EXPECT_EQ(numbers.at(99999), 99999.0);
    EXPECT_EQ(numbers.at(12345), 12345.0);
    EXPECT_STREQ(texts.at(4999).c_str(), "4999");
    EXPECT_STREQ(texts.at(0).c_str(), "0");
    EXPECT_EQ(texts.capacity() % 64, 0);

    numbers.redim(131072);
    EXPECT_EQ(numbers.capacity(), 131080);
    EXPECT_EQ(numbers.at(99999), 99999.0);
    numbers.dim(200001);
    EXPECT_EQ(numbers.capacity(), 200008);
}

TEST(DynArrayPush, AnEmptiedArrayTakesPushesAgain) {
    DynArray<int32_t> a;
    a.dim(0);
    a.push(3);
    EXPECT_EQ(a.dims(), 1);
    EXPECT_EQ(a.count(), 1);
    EXPECT_EQ(a.at(0), 3);
    a.dim(4, 4);
    a.redim(0);
    a.push(5);
    EXPECT_EQ(a.size1(), 1);
    EXPECT_EQ(a.at(0), 5);
}

TEST(DynArrayPush, AnElementOfTheArrayItselfSurvivesTheReallocation) {
    DynArray<DynString> texts;
    texts.dim(63);
    texts.at(0) = "first";
    texts.push(texts.at(0));
    EXPECT_EQ(texts.capacity(), 128);
    EXPECT_STREQ(texts.at(63).c_str(), "first");

    ExactIntArray exact;
    exact.push(11);
    for (int32_t n = 0; n < 4; ++n)
        exact.push(exact.at(-1));
    EXPECT_EQ(exact.count(), 5);
    EXPECT_EQ(exact.at(4), 11);
}

TEST(DynArrayPush, MoreThanOneDimensionEndsTheProgramWithErrorEight) {
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<double> a;
            a.dim(2, 2);
            a.push(1);
        },
        ExitedWithCode(0),
        ::testing::Eq("vexel: push on an array of more than one dimension\nlast error 8\nexit\n"));
    EXPECT_EXIT(
        {
            prepare_fatal_run();
            DynArray<double> a;
            a.dim(3, 0, 2);
            a.push(1);
        },
        ExitedWithCode(0),
        ::testing::Eq("vexel: push on an array of more than one dimension\nlast error 8\nexit\n"));
}

//------------------------------------------------------------------------------------------------
// Copy and move
//------------------------------------------------------------------------------------------------

TEST(DynArrayCopy, CopyTakesTheShapeAndEveryElement) {
    DynArray<DynString> source;
    source.dim(3, 2);
    for (int32_t n = 0; n < 6; ++n)
        source.elements()[n] = DynString(n * 10);
    DynArray<DynString> target;
    target.dim(100);
    const DynString* storage = target.elements();
    target.copy(source);
    EXPECT_EQ(target.elements(), storage);
    EXPECT_EQ(target.dims(), 2);
    EXPECT_EQ(target.count(), 6);
    EXPECT_EQ(target.stride1(), 3);
    EXPECT_STREQ(target.at(2, 1).c_str(), "50");
    EXPECT_NE(target.at(2, 1).c_str(), source.at(2, 1).c_str());
    target.at(0) = "changed";
    EXPECT_STREQ(source.at(0).c_str(), "0");
    target.copy(target);
    EXPECT_STREQ(target.at(0).c_str(), "changed");
}

TEST(DynArrayCopy, CopyConstructionAndAssignmentAreDeep) {
    DynArray<double> source;
    source.dim(2, 2, 2);
    for (int32_t n = 0; n < 8; ++n)
        source.elements()[n] = n;
    DynArray<double> constructed(source);
    EXPECT_NE(constructed.elements(), source.elements());
    EXPECT_EQ(constructed.dims(), 3);
    EXPECT_EQ(constructed.at(1, 1, 1), 7);
    DynArray<double> assigned;
    assigned = source;
    EXPECT_EQ(assigned.count(), 8);
    EXPECT_EQ(assigned.at(0, 1, 1), 6);
    assigned.at(0, 1, 1) = -1;
    EXPECT_EQ(source.at(0, 1, 1), 6);
    assigned = assigned;
    EXPECT_EQ(assigned.at(0, 1, 1), -1);

    const DynArray<double> never_sized;
    DynArray<double> copy_of_nothing(never_sized);
    EXPECT_EQ(copy_of_nothing.elements(), nullptr);
    assigned = never_sized;
    EXPECT_EQ(assigned.elements(), nullptr);
    EXPECT_EQ(assigned.count(), 0);
}

TEST(DynArrayCopy, MovingHandsTheStorageOver) {
    DynArray<DynString> source;
    source.dim(4);
    source.at(3) = "kept";
    const DynString* storage = source.elements();
    DynArray<DynString> moved(std::move(source));
    EXPECT_EQ(moved.elements(), storage);
    EXPECT_STREQ(moved.at(3).c_str(), "kept");
    EXPECT_EQ(source.elements(), nullptr);  // NOLINT: a moved-from array is empty
    EXPECT_EQ(source.count(), 0);
    DynArray<DynString> assigned;
    assigned.dim(2);
    assigned = std::move(moved);
    EXPECT_EQ(assigned.elements(), storage);
    EXPECT_EQ(assigned.count(), 4);
}

//------------------------------------------------------------------------------------------------
// Sort
//------------------------------------------------------------------------------------------------

DynArray<DynString> text_array(const std::vector<std::string>& texts) {
    DynArray<DynString> a;
    a.dim(static_cast<int32_t>(texts.size()));
    for (size_t n = 0; n < texts.size(); ++n)
        a.at(static_cast<int32_t>(n)) = texts[n].c_str();
    return a;
}

std::vector<std::string> contents(const DynArray<DynString>& a) {
    std::vector<std::string> result;
    for (int32_t n = 0; n < a.count(); ++n)
        result.emplace_back(a.at(n).c_str());
    return result;
}

std::vector<std::string> random_texts(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(0, 6);
    std::uniform_int_distribution<int> byte(1, 255);
    std::vector<std::string> texts(count);
    for (std::string& text : texts) {
        const int n = length(random);
        for (int c = 0; c < n; ++c)
            text += static_cast<char>(byte(random));
    }
    return texts;
}

double by_length_then_reverse_bytes(const DynString& left, const DynString& right) {
    if (left.length() != right.length()) {
        return static_cast<double>(left.length()) - static_cast<double>(right.length());
    }
    return std::strcmp(right.c_str(), left.c_str());
}

double always_before(const DynString&, const DynString&) {
    return -1;
}

std::mt19937 g_coin(7);
double coin_toss(const DynString&, const DynString&) {
    return g_coin() % 2 ? -1.0 : 1.0;
}

void expect_sorted_like_std(std::vector<std::string> texts, TextCompare compare) {
    DynArray<DynString> a = text_array(texts);
    a.sort(0, a.count() - 1, compare);
    if (compare) {
        std::sort(texts.begin(), texts.end(),
                  [compare](const std::string& l, const std::string& r) {
                      return compare(DynString(l.c_str()), DynString(r.c_str())) < 0;
                  });
    } else {
        std::sort(texts.begin(), texts.end(), [](const std::string& l, const std::string& r) {
            return std::strcmp(l.c_str(), r.c_str()) < 0;
        });
    }
    EXPECT_EQ(contents(a), texts);
}

TEST(DynArraySort, OrdersBytewiseWithoutACallback) {
    DynArray<DynString> a = text_array({"pear", "Apple", "", "apple", "\xe9t\xe9", "zebra", "ap"});
    a.sort(0, 6);
    EXPECT_EQ(contents(a),
              (std::vector<std::string>{"", "Apple", "ap", "apple", "pear", "zebra", "\xe9t\xe9"}));
}

TEST(DynArraySort, MatchesStdSortOnOrderedReversedEqualAndRandomInputs) {
    std::vector<std::string> ascending;
    for (int n = 0; n < 3000; ++n)
        ascending.push_back(std::to_string(100000 + n));
    const std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
    for (TextCompare compare : {TextCompare{nullptr}, &by_length_then_reverse_bytes}) {
        expect_sorted_like_std(ascending, compare);
        expect_sorted_like_std(descending, compare);
        expect_sorted_like_std(std::vector<std::string>(2000, "same"), compare);
        expect_sorted_like_std(random_texts(20000, 1), compare);
        expect_sorted_like_std(random_texts(2, 2), compare);
        expect_sorted_like_std(random_texts(3, 3), compare);
        expect_sorted_like_std({"b", "a"}, compare);
        expect_sorted_like_std({"only"}, compare);
    }
}

TEST(DynArraySort, SortsOnlyTheGivenRangeClampedToTheArray) {
    DynArray<DynString> a = text_array({"f", "e", "d", "c", "b", "a"});
    a.sort(1, 4);
    EXPECT_EQ(contents(a), (std::vector<std::string>{"f", "b", "c", "d", "e", "a"}));
    a.sort(4, 1);
    EXPECT_EQ(contents(a), (std::vector<std::string>{"f", "b", "c", "d", "e", "a"}));
    a.sort(-100, 100);
    EXPECT_EQ(contents(a), (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));

    // Elements past count are live objects but not part of the array.
    a.redim(3);
    a.at(0) = "z";
    a.elements()[3] = "0";
    a.sort(0, 5);
    EXPECT_EQ(contents(a), (std::vector<std::string>{"b", "c", "z"}));
    EXPECT_STREQ(a.elements()[3].c_str(), "0");

    DynArray<DynString> never_sized;
    never_sized.sort(0, 10);
    EXPECT_EQ(never_sized.elements(), nullptr);
}

TEST(DynArraySort, ExchangesTextsWithoutCopyingThem) {
    DynArray<DynString> a = text_array(random_texts(500, 4));
    std::vector<const char*> blocks;
    for (int32_t n = 0; n < a.count(); ++n)
        blocks.push_back(a.at(n).c_str());
    a.sort(0, a.count() - 1);
    std::vector<const char*> after;
    for (int32_t n = 0; n < a.count(); ++n)
        after.push_back(a.at(n).c_str());
    std::sort(blocks.begin(), blocks.end(), std::less<>());
    std::sort(after.begin(), after.end(), std::less<>());
    EXPECT_EQ(after, blocks);
}

TEST(DynArraySort, ACallbackThatContradictsItselfStillLeavesAPermutation) {
    for (TextCompare compare : {&always_before, &coin_toss}) {
        std::vector<std::string> texts = random_texts(5000, 5);
        DynArray<DynString> a = text_array(texts);
        a.sort(0, a.count() - 1, compare);
        std::vector<std::string> sorted = contents(a);
        std::sort(sorted.begin(), sorted.end());
        std::sort(texts.begin(), texts.end());
        EXPECT_EQ(sorted, texts);
    }
}

}  // namespace
}  // namespace vexel
