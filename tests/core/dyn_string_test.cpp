#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>
#include <string>

#include <vexel/dyn_string.h>
#include <vexel/error.h>

namespace vexel {
namespace {

std::string str(const DynString& s) {
    return std::string(s.c_str(), s.length());
}

TEST(DynString, EmptyStringsShareOneBufferAndAllocateNothing) {
    DynString a;
    DynString b("");
    DynString c(static_cast<const char*>(nullptr));
    EXPECT_TRUE(a.uses_shared_buffer());
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.c_str(), c.c_str());
    EXPECT_EQ(a.capacity(), 0u);
    EXPECT_EQ(a.length(), 0u);
    EXPECT_EQ(a.c_str()[0], 0);
    DynString d(a);
    EXPECT_TRUE(d.uses_shared_buffer());
    a.release();
    EXPECT_TRUE(a.uses_shared_buffer());
}

TEST(DynString, ReserveRoundsToSixteenAndNeverShrinks) {
    struct Case {
        uint32_t n, capacity;
    };
    for (Case c :
         {Case{15, 32}, Case{63, 80}, Case{3, 16}, Case{14, 16}, Case{16, 32}, Case{1, 16}}) {
        DynString s;
        s.reserve(c.n, false);
        EXPECT_EQ(s.capacity(), c.capacity) << c.n;
    }
    DynString s;
    s.reserve(0, false);
    EXPECT_TRUE(s.uses_shared_buffer());
    s.reserve(63, false);
    s.reserve(3, false);
    EXPECT_EQ(s.capacity(), 80u);
}

TEST(DynString, ReserveKeepsOrDiscardsTheText) {
    DynString s("hello");
    s.reserve(40, true);
    EXPECT_EQ(str(s), "hello");
    EXPECT_EQ(s.capacity(), 48u);
    s.reserve(100, false);
    EXPECT_EQ(s.c_str()[0], 0);
    EXPECT_EQ(s.capacity(), 112u);
}

TEST(DynString, AssignFromCTextTakesAnExactBlock) {
    DynString s;
    s.reserve(100, false);
    s.assign("abc");
    EXPECT_EQ(s.capacity(), 4u);
    EXPECT_EQ(str(s), "abc");
    s = "";
    EXPECT_TRUE(s.uses_shared_buffer());
}

TEST(DynString, AssignFromDynStringReusesTheBlock) {
    DynString target;
    target.reserve(60, false);
    target.assign(DynString("xy"));
    EXPECT_EQ(target.capacity(), 64u);
    EXPECT_EQ(str(target), "xy");
    const DynString empty;
    target = empty;
    EXPECT_EQ(target.length(), 0u);
    EXPECT_EQ(target.capacity(), 64u);
    EXPECT_EQ(target.c_str()[0], 0);
    DynString same("self");
    same = static_cast<const DynString&>(same);
    EXPECT_EQ(str(same), "self");
}

TEST(DynString, ZeroBytesSurviveLengthBasedOperations) {
    DynString s;
    s.append("a\0b", 3);
    EXPECT_EQ(s.length(), 3u);
    DynString copy(s);
    EXPECT_EQ(str(copy), std::string("a\0b", 3));
    DynString joined = copy + copy;
    EXPECT_EQ(joined.length(), 6u);
    // C-text comparisons stop at the first zero.
    EXPECT_TRUE(s == "a");
}

TEST(DynString, SyncLengthCutsABlockWithoutAZero) {
    DynString s;
    char* block = s.buffer(15);
    std::strcpy(block, "abc");
    s.sync_length();
    EXPECT_EQ(s.length(), 3u);
    std::memset(block, 'x', s.capacity());
    s.sync_length();
    EXPECT_EQ(s.length(), s.capacity() - 1);
    EXPECT_EQ(s.c_str()[s.length()], 0);
}

TEST(DynString, TruncateAndTrimControlTail) {
    DynString s("hello");
    s.truncate(-1);
    s.truncate(5);
    EXPECT_EQ(str(s), "hello");
    s.truncate(2);
    EXPECT_EQ(str(s), "he");
    DynString line("text \t\r\n\x01");
    line.trim_control_tail();
    EXPECT_EQ(str(line), "text ");
    DynString controls("\r\n");
    controls.trim_control_tail();
    EXPECT_EQ(controls.length(), 0u);
}

TEST(DynString, AppendGrowsInSixteenByteSteps) {
    DynString s;
    s.append('a');
    EXPECT_EQ(s.capacity(), 16u);
    for (int i = 0; i < 14; ++i)
        s.append('b');
    EXPECT_EQ(s.capacity(), 16u);
    s.append('c');
    EXPECT_EQ(s.capacity(), 32u);
    EXPECT_EQ(s.length(), 16u);
    DynString before = s;
    s.append("");
    s.append(DynString());
    EXPECT_EQ(str(s), str(before));
    s.append(s);
    EXPECT_EQ(str(s), str(before) + str(before));
}

TEST(DynString, ConcatenationOfEveryOperandKind) {
    EXPECT_EQ(str(DynString("x") + 3), "x3");
    EXPECT_EQ(str(2.5 + DynString("x")), "2.5x");
    EXPECT_EQ(str(concat(1, "a")), "1a");
    EXPECT_EQ(str(concat("a", "b")), "ab");
    EXPECT_EQ(str(concat("a", 0.25f)), "a0.25");
    EXPECT_EQ(str(concat(-1.5, DynString("y"))), "-1.5y");
    EXPECT_EQ(str(DynString("a") + DynString("b") + "c" + 1.5f + 2.0), "abc1.52");
    EXPECT_EQ(str(7 + DynString("")), "7");
    EXPECT_EQ(str(0.5f + DynString("z")), "0.5z");
}

TEST(DynString, MixedComparisons) {
    EXPECT_TRUE(DynString("10") == 10);
    EXPECT_TRUE(10 == DynString("10"));
    EXPECT_TRUE(DynString("1e1") == 10.0);
    EXPECT_TRUE(DynString("abc") == 0);
    EXPECT_FALSE(DynString("0.1") == 0.1f);
    EXPECT_TRUE(DynString("0.1") == 0.1);
    EXPECT_TRUE(DynString("abc") < DynString("abd"));
    EXPECT_TRUE(DynString("ab") < "abc");
    EXPECT_TRUE("abc" > DynString("ab"));
    EXPECT_TRUE(DynString("\xff") > DynString("a"));  // unsigned bytes
    EXPECT_TRUE(DynString("9") < 10);                 // as numbers, not text
    EXPECT_TRUE(DynString("2.5") >= 2.5);
    EXPECT_TRUE(DynString("3") != 4);
}

TEST(DynString, NaNIsUnordered) {
    const double nan = std::nan("");
    DynString s("1");
    EXPECT_FALSE(s == nan);
    EXPECT_TRUE(s != nan);
    EXPECT_FALSE(s < nan);
    EXPECT_FALSE(s > nan);
    EXPECT_FALSE(s <= nan);
    EXPECT_FALSE(nan >= s);
    EXPECT_EQ(compare(s, nan), 0);
}

TEST(DynString, ThreeWayComparisonsForSorting) {
    EXPECT_EQ(compare("abc", "abd"), -1);
    EXPECT_EQ(compare("b", "a"), 1);
    EXPECT_EQ(compare(DynString("x"), DynString("x")), 0);
    EXPECT_EQ(compare("1.5", 2.0), -1);
    EXPECT_EQ(compare("3", 2.0), 1);
    EXPECT_EQ(compare("2", 2.0), 0);
    EXPECT_EQ(compare("-5", 4), -1);
    EXPECT_EQ(compare("12abc", 12), 0);
}

TEST(DynString, WideTextRoundTrip) {
    std::setlocale(LC_ALL, "C.UTF-8");
    DynString s(L"h\u00e9llo");
    EXPECT_EQ(str(s), "h\xc3\xa9llo");
    EXPECT_STREQ(s.to_wide(), L"h\u00e9llo");
    std::setlocale(LC_ALL, "C");
    DynString ascii(L"plain");
    EXPECT_EQ(str(ascii), "plain");
    DynString refused(L"\u4e00");
    EXPECT_EQ(refused.length(), 0u);
}

TEST(DynString, ToWideCutsLongTexts) {
    std::string long_text(10000, 'a');
    DynString s(long_text.c_str());
    const wchar_t* wide = s.to_wide();
    EXPECT_EQ(std::wcslen(wide), 4095u);
}

TEST(DynString, SizesNoBlockCanHoldAreOutOfMemory) {
    const char bytes[] = "xyz";
    const std::function<void(DynString&)> too_large[] = {
        [](DynString& s) { s.reserve(UINT32_MAX, true); },
        [](DynString& s) { s.reserve(UINT32_MAX - 1, false); },
        [](DynString& s) { s.reserve(UINT32_MAX - 15, true); },
        // The claimed count is never read: the sum wraps past 32 bits and must be refused first.
        [&](DynString& s) { s.append(bytes, UINT32_MAX - 2); },
        [&](DynString& s) { s.append(bytes, UINT32_MAX); },
    };
    for (const auto& grow : too_large) {
        DynString s("abc");
        set_error(0);
        EXPECT_THROW(grow(s), std::bad_alloc);
        EXPECT_EQ(last_error_code(), 7);
        EXPECT_EQ(str(s), "abc");
        EXPECT_EQ(s.capacity(), 16u);
    }
}

TEST(DynString, WritingThroughAnEmptyStringNeverTouchesTheSharedBuffer) {
    DynString a, b, untouched;
    char* block = a.buffer(0);
    std::strcpy(block, "buffer");
    a.sync_length();
    b.data()[0] = 'd';
    b.sync_length();
    EXPECT_EQ(str(a), "buffer");
    EXPECT_EQ(str(b), "d");
    EXPECT_TRUE(untouched.uses_shared_buffer());
    EXPECT_EQ(untouched.c_str()[0], 0);
    EXPECT_EQ(DynString().c_str()[0], 0);
}

TEST(DynString, AssignFromItsOwnStorage) {
    DynString s("hello wonderful world");
    s = s.c_str() + 6;
    EXPECT_EQ(str(s), "wonderful world");
    s.assign(s.c_str());
    EXPECT_EQ(str(s), "wonderful world");
    EXPECT_EQ(s.capacity(), 16u);
    s = s.c_str() + s.length();
    EXPECT_TRUE(s.uses_shared_buffer());
}

TEST(DynString, MoveLeavesTheSourceEmpty) {
    DynString a("moved text");
    DynString b(std::move(a));
    EXPECT_EQ(str(b), "moved text");
    EXPECT_TRUE(a.uses_shared_buffer());  // NOLINT(bugprone-use-after-move)
    DynString c;
    c = std::move(b);
    EXPECT_EQ(str(c), "moved text");
}

}  // namespace
}  // namespace vexel
