#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <vexel/app.h>
#include <vexel/error.h>
#include <vexel/frame.h>
#include <vexel/window.h>

#include "app/message_layer.h"
#include "platform/opengl_duderedi.h"
#include "platform/window.h"
#include "support/headless_engine.h"

namespace vexel {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using testing::HeadlessEngine;
using ::testing::StartsWith;

int g_quits = 0;
double on_quit() {
    return ++g_quits;
}
const CallbackEntry kQuitTable[] = {{on_quit, "VXL_ON_QUIT"}, {nullptr, nullptr}};

std::string executable_folder() {
    char buffer[1024];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string path(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    return path.substr(0, path.find_last_of('/'));
}

// What create_window writes depends on the driver; the rest of start-up is fixed.
std::string expected_start_up_log() {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    GLint texture_limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture_limit);
    std::string log = "Start new log...\ntimer\nrbow\nrbow init\nWIN32 init video\n";
    if (platform::needs_software_renderer_warning(renderer, version))
        log += "*** OpenGL Software Emulation - update driver!\n";
    log += "get accurate timer - 1st call\nflip - 1st call\n";
    const std::string ext = extensions ? extensions : "";
    if (ext.find("GL_EXT_bgra") != std::string::npos ||
        ext.find("_texture_format_BGRA8888") != std::string::npos) {
        log += "BGRA ext supported\n";
    } else {
        log += "BGRA ext NOT supported\n" + ext + "\n";
    }
    log += "Texture size limit: " + std::to_string(texture_limit) + "\n";
    log += "init fbo\n2D VP\nOGRB init [OK]\nCptn\nNetwork\nInput\nWindow mode\nCreate DXin\n";
    log += "reptr\ngetexe\ncd\nexepath=curdir= " + executable_folder() + "\nInit Finalized\n";
    return log;
}

TEST(EngineLifecycle, StartUpLogsEveryStepInOrderAndReplacesThePreviousLog) {
    HeadlessEngine engine(nullptr, 1, [](const testing::ScopedTempDir& temp) {
        testing::write_file(temp.file("ErrorLog.txt"), "a line of the previous run\n");
    });
    ASSERT_TRUE(engine.has_window());
    EXPECT_EQ(engine.log(), expected_start_up_log());

    char cwd[1024];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(std::string(cwd), executable_folder());
    EXPECT_NE(message_layer(), nullptr);
    EXPECT_EQ(is_paused(), 0);
    EXPECT_EQ(get_autopause(), 1);
    std::string title = platform::window_title(platform::opengl_duderedi()->window);
    EXPECT_EQ(title, project_settings().project_name.c_str());
    EXPECT_TRUE(platform::window_is_visible(platform::opengl_duderedi()->window));
}

TEST(EngineLifecycle, ALogFolderInTheWayIsRemovedFirst) {
    HeadlessEngine engine(nullptr, 1, [](const testing::ScopedTempDir& temp) {
        ASSERT_EQ(mkdir(temp.file("ErrorLog.txt").c_str(), 0700), 0);
    });
    struct stat info {};
    ASSERT_EQ(stat(engine.temp().file("ErrorLog.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_THAT(engine.log(), StartsWith("Start new log...\ntimer\n"));
}

TEST(EngineLifecycle, HiddenShowCommandLeavesTheWindowHidden) {
    HeadlessEngine engine(nullptr, 0);
    ASSERT_TRUE(engine.has_window());
    EXPECT_FALSE(platform::window_is_visible(platform::opengl_duderedi()->window));
    EXPECT_THAT(engine.log(), EndsWith("Init Finalized\n"));
}

TEST(EngineLifecycle, ShutdownWritesItsLinesInOrderAndQuitsOnce) {
    g_quits = 0;
    HeadlessEngine engine(kQuitTable);
    const std::string before = engine.log();
    shutdown_engine();
    shutdown_engine();
    EXPECT_EQ(g_quits, 1);
    EXPECT_EQ(engine.log(), before + "Shutdown VXL\nvxl is shut down\n");
    EXPECT_EQ(platform::opengl_duderedi(), nullptr);
    EXPECT_EQ(message_layer(), nullptr);
    char cwd[1024];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(std::string(cwd), executable_folder());
}

TEST(EngineLifecycle, EndProgramShutsDownPrintsExitAndExitsWithZero) {
    testing::ScopedTempDir temp;
    ::testing::internal::CaptureStdout();
    EXPECT_EXIT(
        {
            testing::init_engine_headless(1, "caption");
            end_program();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_THAT(::testing::internal::GetCapturedStdout(), EndsWith("exit\n"));
    EXPECT_THAT(testing::read_file(temp.file("ErrorLog.txt")),
                EndsWith("Init Finalized\nShutdown VXL\nvxl is shut down\n"));
}

TEST(EngineLifecycle, DebugModeWritesTheErrorReportBeforeShuttingDown) {
    testing::ScopedTempDir temp;
    EXPECT_EXIT(
        {
            project_settings().debug_mode = 1;
            testing::init_engine_headless(1, "caption");
            set_source_position(3, 12);
            set_error(9);
            end_program();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_THAT(testing::read_file(temp.file("ErrorLog.txt")),
                EndsWith("Init Finalized\n-End On Line\n9\n11\n12\n3\nShutdown VXL\n"
                         "vxl is shut down\n"));
}

TEST(EngineLifecycle, WithoutADisplayStartUpStopsEarlyAndTheGameStillRuns) {
    testing::ScopedTempDir temp;
    unsetenv("VEXEL_VIDEO");
    unsetenv("WAYLAND_DISPLAY");
    setenv("DISPLAY", ":987", 1);  // no X server answers there
    setenv("SDL_VIDEODRIVER", "x11", 1);
    g_quits = 0;
    set_callback_table(kQuitTable);
    testing::suspend_leak_checks();  // the failed display connection leaves the system's buffers
    init_engine(1, "caption");
    testing::resume_leak_checks();
    EXPECT_EQ(testing::read_file(temp.file("ErrorLog.txt")),
              "Start new log...\ntimer\nrbow\nrbow init\n");
    ASSERT_NE(platform::opengl_duderedi(), nullptr);
    EXPECT_EQ(platform::opengl_duderedi()->window, nullptr);

    // The frame loop and the window commands do nothing harmful without a window.
    show_screen();
    set_viewport(0, 0, 0, 0);
    reset_gl_state();
    EXPECT_EQ(hide_window(), 1);
    EXPECT_EQ(is_fullscreen_mode(), 0);

    shutdown_engine();
    EXPECT_EQ(g_quits, 1);
    EXPECT_THAT(testing::read_file(temp.file("ErrorLog.txt")),
                EndsWith("rbow init\nShutdown VXL\nvxl is shut down\n"));
}

}  // namespace
}  // namespace vexel
