#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>
#include <vexel/error.h>
#include <vexel/system.h>

namespace vexel {
namespace {

// Standard input becomes a pipe that holds exactly the given bytes.
void feed_standard_input(const std::string& bytes) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(ends[1]);
    ASSERT_EQ(::dup2(ends[0], STDIN_FILENO), STDIN_FILENO);
    ::close(ends[0]);
    std::clearerr(stdin);
}

TEST(ReadConsoleLine, LinesComeWithoutLineEndsAndLongOnesInPieces) {
    const std::string long_line(10000, 'x');
    const std::string full_piece(4095, 'y');
    feed_standard_input("first\n\ndos\r\n" + long_line + "\n" + full_piece + "\nlast");
    const std::string expected[] = {"first",
                                    "",
                                    "dos",
                                    std::string(4095, 'x'),
                                    std::string(4095, 'x'),
                                    std::string(1810, 'x'),
                                    full_piece,
                                    "last",
                                    ""};
    for (const std::string& line : expected) {
        const DynString read = read_console_line();
        EXPECT_EQ(std::string(read.c_str(), read.length()), line);
    }
}

TEST(OpenConsole, WithoutAnyTerminalChangesNothingAndSetsTheLastError) {
    feed_standard_input("kept\n");
    EXPECT_EXIT(
        {
            ::setsid();  // no controlling terminal from here on
            open_console();
            const bool kept = std::string(read_console_line().c_str()) == "kept";
            std::_Exit(kept ? last_error_code() : 99);
        },
        ::testing::ExitedWithCode(3), "");
}

}  // namespace
}  // namespace vexel
