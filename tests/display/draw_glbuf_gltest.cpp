// Front/back buffer emulation: what is drawn into the back buffer shows only after a swap, what
// is drawn into the front buffer shows at once and is replaced by the next swap.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include "support/gltest.h"

namespace {

void Fill(float r, float g, float b) {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

TEST(DrawGLBuf, BackShowsAfterSwapFrontAtOnce) {
    if (!gltest::Available()) GTEST_SKIP() << gltest::Why();
    gltest::GLPlatform p(nullptr, 40, 30);
    ASSERT_TRUE(p.GLCreate(0));
    ASSERT_TRUE(p.GLMakeCurrent(0));

    p.GLDrawBuffer(0, plt::BufBack);
    Fill(1, 0, 0);
    p.Grab();
    EXPECT_EQ(p.Count({0, 0, 0}), 40 * 30) << "back drawing must not be visible before the swap";

    p.GLSwap(0);
    p.Grab();
    EXPECT_EQ(p.Count({255, 0, 0}), 40 * 30);

    // Feedback into the front buffer: a small square, visible at once.
    p.GLDrawBuffer(0, plt::BufFront);
    glEnable(GL_SCISSOR_TEST);
    glScissor(5, 30 - 1 - 9, 5, 5);  // window rows 5..9 counted from the top
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    p.Grab();
    EXPECT_EQ(p.Count({0, 255, 0}), 25);
    EXPECT_TRUE(p.Has({0, 255, 0}, 5, 5, 9, 9));
    EXPECT_EQ(p.Px(4, 5).g, 0);

    // The next swap puts the back picture back: the feedback is gone.
    p.GLSwap(0);
    p.Grab();
    EXPECT_EQ(p.Count({255, 0, 0}), 40 * 30);

    // The back buffer keeps its content across swaps (partial repaints rely on it).
    p.Grab(glbuf::Back);
    EXPECT_EQ(p.Count({255, 0, 0}), 40 * 30);
}

TEST(DrawGLBuf, ResizeAndRecreate) {
    if (!gltest::Available()) GTEST_SKIP() << gltest::Why();
    gltest::GLPlatform p(nullptr, 20, 10);
    ASSERT_TRUE(p.GLCreate(0));
    p.Resize(64, 48);
    ASSERT_TRUE(p.GLMakeCurrent(0));
    p.GLDrawBuffer(0, plt::BufBack);
    Fill(0, 0, 1);
    p.GLSwap(0);
    p.Grab();
    EXPECT_EQ(p.Count({0, 0, 255}), 64 * 48);

    // A lost context fails to become current once; recreating gives fresh black buffers.
    p.loseNext = true;
    EXPECT_FALSE(p.GLMakeCurrent(0));
    ASSERT_TRUE(p.GLCreate(0));
    ASSERT_TRUE(p.GLMakeCurrent(0));
    p.Grab();
    EXPECT_EQ(p.Count({0, 0, 0}), 64 * 48);
}

}  // namespace
