#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <vexel/app.h>
#include <vexel/files.h>
#include <vexel/platform_info.h>

#include "support/headless_engine.h"

namespace vexel {
namespace {

size_t open_descriptor_count() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

TEST(SubsystemWiring, PlatformInformationSeesTheEnginesGlEntryPoints) {
    EXPECT_STREQ(platform_info("GLEXT:glGenBuffers").c_str(), "0");
    testing::HeadlessEngine engine;
    ASSERT_TRUE(engine.has_window());
    EXPECT_STREQ(platform_info("GLEXT:glGenBuffers").c_str(), "1");
    // The driver hands out a dispatch stub for any name that starts with "gl"; other names it
    // does not know.
    EXPECT_STREQ(platform_info("GLEXT:vexelNoSuchEntryPoint").c_str(), "0");
}

TEST(SubsystemWiring, ShutdownClosesTheFileChannels) {
    testing::HeadlessEngine engine;
    const size_t before = open_descriptor_count();
    const std::string path = engine.temp().file("channel.bin");
    ASSERT_EQ(open_file(3, path.c_str(), 0), 1);
    write_bytes(3, "kept");
    EXPECT_EQ(open_descriptor_count(), before + 1);
    shutdown_engine();
    EXPECT_EQ(open_descriptor_count(), before);
    EXPECT_EQ(testing::read_file(path), "kept");
}

}  // namespace
}  // namespace vexel
