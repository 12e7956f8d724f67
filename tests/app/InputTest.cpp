#include "app/Input.h"

#include <gtest/gtest.h>

namespace {

TEST(Input, StartsWithNothingDownAndNoSteps)
{
    Input input;
    for (int key = 0; key < Input::keyCount; ++key) {
        EXPECT_FALSE(input.isKeyDown(key)) << key;
    }
    EXPECT_EQ(input.getMouseDeltaX(), 0);
    EXPECT_EQ(input.getMouseDeltaY(), 0);
    EXPECT_FALSE(input.isLeftMouseButtonDown());
}

TEST(Input, KeysAreIndependentAndIdempotent)
{
    Input input;
    input.keyDown(0x57);
    input.keyDown(0x57);
    EXPECT_TRUE(input.isKeyDown(0x57));
    EXPECT_FALSE(input.isKeyDown(0x53));
    input.keyUp(0x57);
    input.keyUp(0x57);
    EXPECT_FALSE(input.isKeyDown(0x57));
    input.keyDown(0);
    input.keyDown(255);
    EXPECT_TRUE(input.isKeyDown(0));
    EXPECT_TRUE(input.isKeyDown(255));
}

TEST(Input, CodesOutsideTheKeyTableAreIgnored)
{
    Input input;
    input.keyDown(256);
    input.keyDown(-1);
    input.keyDown(0x10000 | 0x46);
    EXPECT_FALSE(input.isKeyDown(256));
    EXPECT_FALSE(input.isKeyDown(-1));
    EXPECT_FALSE(input.isKeyDown(0x46));
    // the neighbours of the table's ends are untouched
    EXPECT_FALSE(input.isKeyDown(0));
    EXPECT_FALSE(input.isKeyDown(255));
    EXPECT_EQ(input.getMouseX(), 0);
    EXPECT_FALSE(input.isLeftMouseButtonDown());
}

TEST(Input, MouseStepIsPreviousMinusNewAndReadingClearsIt)
{
    Input input;
    input.setMouseX(30);
    input.setMouseY(40);
    EXPECT_EQ(input.getMouseX(), 30);
    EXPECT_EQ(input.getMouseY(), 40);
    EXPECT_EQ(input.getMouseDeltaX(), -30);
    EXPECT_EQ(input.getMouseDeltaY(), -40);
    EXPECT_EQ(input.getMouseDeltaX(), 0);
    EXPECT_EQ(input.getMouseDeltaY(), 0);
}

TEST(Input, EachMoveOverwritesTheStep)
{
    Input input;
    input.setMouseX(10);
    input.setMouseX(12);
    input.setMouseX(15);
    EXPECT_EQ(input.getMouseDeltaX(), -3);
    input.setMouseY(9);
    input.setMouseY(4);
    EXPECT_EQ(input.getMouseDeltaY(), 5);
}

} // namespace
