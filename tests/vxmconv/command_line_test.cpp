#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion_error.h"
#include "vxmconv/model_files.h"

namespace vexel {
namespace {

using vxmconv::UpAxis;

TEST(CommandLineTest, ReadsEveryOptionBetweenTheFiles) {
    const vxmconv::Options options =
        vxmconv::parse_command_line({"--scale", "0.01", "in.glb", "--up", "y", "--flip-winding",
                                     "--text", "--multi", "--frames", "12", "out.vxm"});
    EXPECT_EQ(options.input, "in.glb");
    EXPECT_EQ(options.output, "out.vxm");
    EXPECT_FLOAT_EQ(options.scale, 0.01f);
    EXPECT_EQ(options.up, UpAxis::kY);
    EXPECT_TRUE(options.flip_winding && options.text && options.multi);
    EXPECT_EQ(options.frames, 12);
    EXPECT_EQ(vxmconv::parse_command_line({"a", "b"}).up, UpAxis::kZ);
}

TEST(CommandLineTest, WrongCommandLinesSayWhatIsWrong) {
    const struct {
        std::vector<std::string> arguments;
        const char* complaint;
    } cases[] = {
        {{"in.obj"}, "one input and one output"},
        {{"a", "b", "c"}, "one input and one output"},
        {{"--scale", "0", "a", "b"}, "--scale needs a positive number"},
        {{"--scale", "2x", "a", "b"}, "--scale needs a positive number"},
        {{"--scale", "1e50", "a", "b"}, "--scale needs a positive number"},
        {{"--up", "x", "a", "b"}, "--up takes z or y"},
        {{"--frames", "0", "a", "b"}, "--frames needs a whole number"},
        {{"--frames", "10001", "a", "b"}, "--frames needs a whole number"},
        {{"a", "b", "--frames"}, "--frames needs a value"},
        {{"--fast", "a", "b"}, "unknown option --fast"},
    };
    for (const auto& c : cases) {
        try {
            vxmconv::parse_command_line(c.arguments);
            ADD_FAILURE() << "accepted " << c.complaint;
        } catch (const vxmconv::UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(c.complaint), std::string::npos)
                << error.what();
        }
    }
}

TEST(CommandLineTest, HelpAndUsageErrorsHaveTheirExitStatus) {
    testing::ScopedTempDir folder;
    const testing::ToolRun help = testing::run_program(folder, "--help");
    EXPECT_EQ(help.status, 0);
    const testing::ToolRun wrong = testing::run_program(folder, "--up q a b");
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.messages.find("vxmconv: --up takes z or y"), std::string::npos)
        << wrong.messages;
}

}  // namespace
}  // namespace vexel
