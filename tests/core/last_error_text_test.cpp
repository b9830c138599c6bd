#include <gtest/gtest.h>

#include <vexel/error.h>
#include <vexel/text.h>

namespace vexel {
namespace {

TEST(LastErrorText, NamesTheKnownCodes) {
    struct Case {
        int32_t code;
        const char* text;
    };
    for (const Case c :
         {Case{0, "0000 success"}, Case{3, "0003 no such file"}, Case{7, "0007 out of memory"},
          Case{9, "0009 out of bounds"}, Case{20, "0020 out of data"}}) {
        set_error(c.code);
        EXPECT_STREQ(last_error_text().c_str(), c.text);
    }
}

TEST(LastErrorText, OtherCodesAreUnknown) {
    set_error(21);
    EXPECT_STREQ(last_error_text().c_str(), "0021 unknown error");
    set_error(12345);
    EXPECT_STREQ(last_error_text().c_str(), "12345 unknown error");
    set_error(-1);
    EXPECT_STREQ(last_error_text().c_str(), "-0001 unknown error");
}

TEST(LastErrorText, FreshProcessReadsSuccess) {
    EXPECT_STREQ(last_error_text().c_str(), "0000 success");
}

}  // namespace
}  // namespace vexel
