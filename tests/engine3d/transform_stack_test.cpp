#include "engine3d/transform_stack.h"

#include <gtest/gtest.h>

#include <vexel/scene3d.h>

#include "engine3d/scene_test_support.h"

namespace vexel {
namespace {

using testing::gl_composed;
using testing::Mat;
using testing::matrices_near;
using testing::scene;

Mat current() {
    Mat m{};
    engine3d::current_level_matrix(m.data());
    return m;
}

Mat from_array(const DynArray<double>& array) {
    Mat m{};
    for (int32_t i = 0; i < 16; ++i)
        m[static_cast<size_t>(i)] = static_cast<float>(array.at(i));
    return m;
}

class TransformStackTest : public testing::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        begin_3d(1, 1000, 45);
    }
};

TEST_F(TransformStackTest, TranslateAfterRotateDiscardsTheRotation) {
    rotate(30, 0, 1, 0);
    translate(1, 2, 3);
    EXPECT_TRUE(matrices_near(current(), gl_composed([] { glTranslatef(1, 2, 3); })));
}

TEST_F(TransformStackTest, RotateAfterTranslateKeepsTheTranslation) {
    translate(1, 2, 3);
    rotate(30, 0, 1, 0);
    EXPECT_TRUE(matrices_near(current(), gl_composed([] {
                                  glTranslatef(1, 2, 3);
                                  glRotatef(30, 0, 1, 0);
                              })));
}

TEST_F(TransformStackTest, ScaleKeepsTheTranslationAndDropsRotations) {
    translate(4, 5, 6);
    rotate(45, 1, 0, 0);
    scale(2, 3, 4);
    EXPECT_TRUE(matrices_near(current(), gl_composed([] {
                                  glTranslatef(4, 5, 6);
                                  glScalef(2, 3, 4);
                              })));
    // and translate keeps the scale
    translate(-1, 0, 0);
    EXPECT_TRUE(matrices_near(current(), gl_composed([] {
                                  glTranslatef(-1, 0, 0);
                                  glScalef(2, 3, 4);
                              })));
}

TEST_F(TransformStackTest, FirstRotationActsFirstAboutTheParentsAxes) {
    translate(1, 0, 0);
    scale(2, 2, 2);
    rotate(90, 0, 0, 1);
    rotate(40, 1, 0.5, 0);
    // A vertex is scaled, rotated by the first rotation, then by the second, then translated.
    EXPECT_TRUE(matrices_near(current(), gl_composed([] {
                                  glTranslatef(1, 0, 0);
                                  glRotatef(40, 1, 0.5f, 0);
                                  glRotatef(90, 0, 0, 1);
                                  glScalef(2, 2, 2);
                              })));
}

TEST_F(TransformStackTest, UserMatricesComeBeforeTheTranslation) {
    DynArray<double> user;
    user.dim(16);
    const Mat shear = gl_composed([] {
        glRotatef(10, 0, 0, 1);
        glTranslatef(0, 7, 0);
    });
    for (int32_t i = 0; i < 16; ++i)
        user.at(i) = shear[static_cast<size_t>(i)];
    translate(1, 2, 3);
    multiply_matrix(user);
    rotate(20, 0, 1, 0);
    EXPECT_TRUE(matrices_near(current(), gl_composed([&] {
                                  glMultMatrixf(shear.data());
                                  glTranslatef(1, 2, 3);
                                  glRotatef(20, 0, 1, 0);
                              })));
}

TEST_F(TransformStackTest, MultiplyMatrixTakesOnlyOneDimensionOfSixteen) {
    DynArray<double> wrong;
    wrong.dim(4, 4);
    for (int32_t i = 0; i < 16; ++i)
        wrong.elements()[i] = 2;
    multiply_matrix(wrong);
    DynArray<double> short_one;
    short_one.dim(15);
    multiply_matrix(short_one);
    EXPECT_EQ(scene().transform_stack.levels[0].matrix_count, 0);
    EXPECT_TRUE(matrices_near(current(), engine3d::identity_matrix()));
}

TEST_F(TransformStackTest, SeventeenthRotationAndMatrixAreIgnored) {
    for (int i = 0; i < 16; ++i)
        rotate(1, 0, 0, 1);
    rotate(90, 1, 0, 0);  // beyond the level's room
    EXPECT_TRUE(matrices_near(current(), gl_composed([] { glRotatef(16, 0, 0, 1); }), 1e-5f));

    DynArray<double> doubling;
    doubling.dim(16);
    doubling.at(0) = doubling.at(5) = doubling.at(10) = 2;
    doubling.at(15) = 1;
    translate(0, 0, 0);
    for (int i = 0; i < 17; ++i)
        multiply_matrix(doubling);
    EXPECT_EQ(scene().transform_stack.levels[0].matrix_count, 16);
    EXPECT_FLOAT_EQ(current()[0], 65536.0f);
}

TEST_F(TransformStackTest, RebuildingAgainAfterAChangeDoesNotComposeTwice) {
    rotate(30, 0, 1, 0);
    DynArray<double> first;
    get_matrix(first);
    rotate(40, 0, 1, 0);
    EXPECT_TRUE(matrices_near(current(), gl_composed([] { glRotatef(70, 0, 1, 0); })));
}

TEST_F(TransformStackTest, PushOpensAChildOnTheParentsMatrix) {
    translate(10, 0, 0);
    push_matrix();
    EXPECT_EQ(scene().transform_stack.depth, 1);
    rotate(90, 0, 0, 1);
    EXPECT_TRUE(matrices_near(current(), gl_composed([] {
                                  glTranslatef(10, 0, 0);
                                  glRotatef(90, 0, 0, 1);
                              })));
    // translate on the child resets it to the parent's matrix, not to the identity
    translate(0, 1, 0);
    EXPECT_TRUE(matrices_near(current(), gl_composed([] { glTranslatef(10, 1, 0); })));
    pop_matrix();
    EXPECT_EQ(scene().transform_stack.depth, 0);
    EXPECT_TRUE(matrices_near(current(), gl_composed([] { glTranslatef(10, 0, 0); })));
    // popping the first level resets it
    pop_matrix();
    EXPECT_EQ(scene().transform_stack.depth, 0);
    EXPECT_TRUE(matrices_near(current(), engine3d::identity_matrix()));
}

TEST_F(TransformStackTest, PushStopsAtTheSixteenthLevel) {
    for (int i = 0; i < 20; ++i)
        push_matrix();
    EXPECT_EQ(scene().transform_stack.depth, 15);
    for (int i = 0; i < 20; ++i)
        pop_matrix();
    EXPECT_EQ(scene().transform_stack.depth, 0);
}

TEST_F(TransformStackTest, GetMatrixGivesSixteenElements) {
    DynArray<double> out;
    out.dim(3, 3);
    translate(1, 2, 3);
    get_matrix(out);
    EXPECT_EQ(out.dims(), 1);
    ASSERT_EQ(out.count(), 16);
    EXPECT_TRUE(matrices_near(from_array(out), gl_composed([] { glTranslatef(1, 2, 3); })));
    EXPECT_EQ(scene().transform_stack.levels[0].matrix_valid, 1);
}

TEST_F(TransformStackTest, SetCameraResetsTheStack) {
    push_matrix();
    translate(5, 5, 5);
    set_camera(0, 0, 10, 0, 0, 0);
    EXPECT_EQ(scene().transform_stack.depth, 0);
    EXPECT_TRUE(matrices_near(current(), engine3d::identity_matrix()));
}

TEST(TransformStackWithoutEngine, CommandsAreHarmlessAndTheMatrixIsTheIdentity) {
    translate(1, 2, 3);
    rotate(10, 1, 0, 0);
    push_matrix();
    pop_matrix();
    Mat m{};
    engine3d::current_level_matrix(m.data());
    EXPECT_TRUE(matrices_near(m, engine3d::identity_matrix()));
}

}  // namespace
}  // namespace vexel
