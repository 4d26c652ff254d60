#pragma once
// A root pane in a child window of a real top-level window, which is made
// once a suite (mapping one costs Wine a while) and brought to the front
// for each test, so focus and activation behave.
#include "WineHelpers.h"
#include "ui/win32/Win32NativePane.h"

#include <gtest/gtest.h>

namespace Corvell {
namespace WineTest {

template <class Suite>
struct RootWindowTest : ::testing::Test {
    static HWND top;
    static void SetUpTestSuite() { top = MakeTopLevel(420, 340); }
    static void TearDownTestSuite() {
        DestroyWindow(top);
        top = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(nullptr, top);
        SetForegroundWindow(top);
        SetActiveWindow(top);
        root = new Win32NativePane;
        ASSERT_TRUE(root->CreateNativeWindow(top, Rect{0, 0, 400, 300}));
        RunQueued();
    }
    void TearDown() override {
        delete root;
        root = nullptr;
        RunQueued();
    }

    Win32NativePane* root = nullptr;
};

template <class Suite>
HWND RootWindowTest<Suite>::top = nullptr;

} // namespace WineTest
} // namespace Corvell
