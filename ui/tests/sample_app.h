#pragma once
// The main window on the bundled sample machine, shared by the tests of a
// suite, and the pictures of the documentation taken where a test shows them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ui/frame/main_frame.h"
#include "ui/tests/ui_driver.h"

namespace kavlo::ui::testing {

/// Saves `window` as NAME.png into the folder named by KAVLO_SCREENSHOTS
/// (tools/screenshots.sh sets it for docs/screenshots); without it, nothing.
inline void Screenshot(HWND window, const char* name) {
    const char* folder = std::getenv("KAVLO_SCREENSHOTS");
    if (!folder || !*folder) return;
    const std::string path = std::string(folder) + "\\" + name + ".png";
    EXPECT_TRUE(SaveWindowPng(window, path)) << path;
}

class SampleAppTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = std::make_unique<KavloApp>(SampleOptions());
        ASSERT_TRUE(app_->InitInstance());
        MoveWindow(app_->frame().hwnd(), 0, 0, 1000, 700, TRUE);
        PumpFor(200);
    }
    static void TearDownTestSuite() {
        DestroyWindow(app_->frame().hwnd());
        PumpFor(100);
        app_.reset();
    }
    CMainFrame& frame() { return app_->frame(); }

    static inline std::unique_ptr<KavloApp> app_;
};

}  // namespace kavlo::ui::testing
