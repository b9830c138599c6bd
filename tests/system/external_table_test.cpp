#include "system/external_table.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <vexel/system.h>

#include "support/headless_engine.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using ::testing::HasSubstr;
using testing::read_file;
using testing::ScopedTempDir;
using ::testing::StartsWith;

using AddFunction = int(int, int);
using AnyFunction = void();

std::string loads() {
    const char* count = std::getenv("VEXEL_FIXTURE_LOADS");
    return count ? count : "0";
}

TEST(ExternalFunctions, OneLibraryIsLoadedOnceForAllItsDeclarations) {
    ScopedTempDir temp;
    resolve_externals();
    EXPECT_EQ(read_file(temp.file("ErrorLog.txt")), "");  // nothing declared, nothing logged

    AddFunction* add = nullptr;
    AddFunction* add_again = nullptr;
    register_external(VEXEL_EXTERNAL_FIXTURE, "fixture_add", &add);
    register_external(VEXEL_EXTERNAL_FIXTURE, "fixture_add", &add_again);
    resolve_externals();
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add, add_again);
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_EQ(system::external_table().module_count(), 1u);
    EXPECT_EQ(loads(), "1");
    EXPECT_EQ(read_file(temp.file("ErrorLog.txt")), "Delay load DLLs\n");

    // Released, the library is unloaded: declared again, it is mapped afresh.
    release_externals();
    register_external(VEXEL_EXTERNAL_FIXTURE, "fixture_add", &add);
    resolve_externals();
    EXPECT_EQ(loads(), "2");
}

TEST(ExternalFunctions, MissingNamesLeaveNullSlotsAndAreReported) {
    ScopedTempDir temp;
    AddFunction* add = nullptr;
    AnyFunction* missing_entry = nullptr;
    AnyFunction* missing_module = &std::abort;  // written over
    register_external(VEXEL_EXTERNAL_FIXTURE, "no_such_entry", &missing_entry);
    register_external("vexel_no_such_library", "fixture_add", &missing_module);
    register_external(VEXEL_EXTERNAL_FIXTURE, "fixture_add", &add);
    resolve_externals();

    EXPECT_EQ(missing_entry, nullptr);
    EXPECT_EQ(missing_module, nullptr);
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(-1, 1), 0);
    const std::string log = read_file(temp.file("ErrorLog.txt"));
    EXPECT_THAT(log, StartsWith("Delay load DLLs\nDECLARE entry not found: no_such_entry\n"));
    EXPECT_THAT(log, HasSubstr("DECLARE module not found: vexel_no_such_library\n"));
}

TEST(ExternalFunctions, ABareNameFindsItsLinuxBuild) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's dlopen searches its own run path, not the test program's";
#endif
    const struct {
        const char* name;
        bool found;
    } cases[] = {
        {"vexel_external_fixture", true},     {"VEXEL_EXTERNAL_FIXTURE.DLL", false},
        {"vexel_external_fixture.dll", true}, {"libvexel_external_fixture.so", true},
        {"vexel_external_fixture.so", false}, {"", false},
    };
    for (const auto& c : cases) {
        void* handle = system::open_library(c.name);
        EXPECT_EQ(handle != nullptr, c.found) << c.name;
        if (handle) ::dlclose(handle);
    }
}

TEST(ExternalFunctions, StartUpResolvesTheDeclarations) {
    static AddFunction* add = nullptr;
    testing::HeadlessEngine engine(nullptr, 1, [](const ScopedTempDir&) {
        register_external(VEXEL_EXTERNAL_FIXTURE, "fixture_add", &add);
    });
    ASSERT_NE(add, nullptr);
    const std::string log = engine.log();
    EXPECT_LT(log.find("reptr\n"), log.find("Delay load DLLs\n"));
    EXPECT_LT(log.find("Delay load DLLs\n"), log.find("Init Finalized\n"));
}

}  // namespace
}  // namespace vexel
