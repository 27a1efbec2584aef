#include "tests/gui/gui_support.h"

#include "tests/gui/offscreen_application.h"
#include "ui/ui_init.h"

#include <gtest/gtest.h>

namespace {

// One QApplication for the whole binary, created before the first test and kept until exit.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { EnsureApplication(); }
};

[[maybe_unused]] ::testing::Environment* const g_gui_environment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace

QApplication* EnsureApplication()
{
    static QApplication* app = [] {
        auto* created = NewOffscreenApplication("gui_test");
        InitControlLibrary();
        return created;
    }();
    return app;
}

QRgb PixelAt(QWidget& widget, int x, int y)
{
    return widget.grab().toImage().pixel(x, y);
}
