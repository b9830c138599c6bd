#include "progress_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vexel {
namespace {

std::string written(std::FILE* file) {
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;)
        text.push_back(static_cast<char>(c));
    return text;
}

TEST(ProgressLineTest, OneLineRewrittenPerPercentOnlyOnceEnabled) {
    std::FILE* quiet = std::tmpfile();
    {
        vxmconv::ProgressLine line(quiet, "small.obj");
        line.stage("building", 10);
        line.advance(10);
    }
    EXPECT_EQ(written(quiet), "");
    std::fclose(quiet);

    std::FILE* out = std::tmpfile();
    {
        vxmconv::ProgressLine line(out, "big.glb");
        line.enable(true);
        line.stage("building", 1000);
        for (int i = 0; i < 1000; ++i)
            line.advance(1);
        line.stage("writing", 0);
    }
    const std::string text = written(out);
    std::fclose(out);
    EXPECT_EQ(text.rfind("\rvxmconv: big.glb: building   0%", 0), 0u) << text;
    EXPECT_NE(text.find("\rvxmconv: big.glb: building  50%"), std::string::npos);
    EXPECT_NE(text.find("\rvxmconv: big.glb: building 100%"), std::string::npos);
    EXPECT_NE(text.find("\rvxmconv: big.glb: writing"), std::string::npos);
    size_t updates = 0;
    for (char c : text)
        updates += c == '\r';
    EXPECT_EQ(updates, 102u);  // 0% to 100%, then the writing stage
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\n'), text.size() - 1);
}

}  // namespace
}  // namespace vexel
