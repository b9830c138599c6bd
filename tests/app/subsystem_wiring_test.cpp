#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <vexel/app.h>
#include <vexel/files.h>
#include <vexel/platform_info.h>

#include "support/headless_engine.h"

namespace vexel {
namespace {

// Descriptors of this process open on the file; other subsystems' descriptors do not count.
size_t descriptors_open_on(const std::string& path) {
    const std::filesystem::path wanted = std::filesystem::canonical(path);
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == wanted) ++count;
    }
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
    const std::string path = engine.temp().file("channel.bin");
    ASSERT_EQ(open_file(3, path.c_str(), 0), 1);
    write_bytes(3, "kept");
    EXPECT_EQ(descriptors_open_on(path), 1u);
    shutdown_engine();
    EXPECT_EQ(descriptors_open_on(path), 0u);
    EXPECT_EQ(testing::read_file(path), "kept");
}

}  // namespace
}  // namespace vexel
