#include "tests/gui/gui_support.h"

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
    static int argc = 1;
    static char name[] = "gui_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* created = new QApplication(argc, argv);
        InitControlLibrary();
        return created;
    }();
    return app;
}

QRgb PixelAt(QWidget& widget, int x, int y)
{
    return widget.grab().toImage().pixel(x, y);
}
