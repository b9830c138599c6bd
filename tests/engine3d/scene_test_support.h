// Test helpers for the 3D commands on the head-less GL context: GL matrices read back, and
// matrices compared element by element.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "engine3d/duderedi_3d.h"
#include "support/headless_engine.h"

namespace vexel::testing {

using Mat = std::array<float, 16>;

inline Mat gl_matrix(GLenum which) {
    Mat m{};
    glGetFloatv(which, m.data());
    return m;
}

// The matrix OpenGL itself makes from a sequence of matrix calls on the modelview stack.
template <typename Calls>
Mat gl_composed(Calls calls) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    calls();
    const Mat m = gl_matrix(GL_MODELVIEW_MATRIX);
    glPopMatrix();
    return m;
}

inline ::testing::AssertionResult matrices_near(const Mat& actual, const Mat& expected,
                                                float tolerance = 1e-5f) {
    for (size_t i = 0; i < 16; ++i) {
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance))
            return ::testing::AssertionFailure()
                   << "element " << i << ": " << actual[i] << " vs " << expected[i];
    }
    return ::testing::AssertionSuccess();
}

// Runs a drawing call with leak reports held back: the driver keeps the code it builds for each
// new drawing state for the life of the process.
template <typename Draw>
void drawing(Draw draw) {
    suspend_leak_checks();
    draw();
    resume_leak_checks();
}

inline GLint gl_integer(GLenum which) {
    GLint value = 0;
    glGetIntegerv(which, &value);
    return value;
}

inline engine3d::Duderedi3D& scene() {
    return *engine3d::duderedi_3d();
}

// The engine head-less with its 3D state, in a 3D frame of near 1, far 1000, fov 45.
class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine_.has_window());
        ASSERT_NE(engine3d::duderedi_3d(), nullptr);
    }

    HeadlessEngine engine_;
};

}  // namespace vexel::testing
