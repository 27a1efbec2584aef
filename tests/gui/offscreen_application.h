#pragma once

#include <QApplication>
#include <QByteArray>

// The test binary's QApplication on Qt's offscreen platform. The platform is passed on the command
// line: Wine does not hand QT_QPA_PLATFORM (nor any QT_* variable) on to a Windows program.
inline QApplication* NewOffscreenApplication(const char* name)
{
#ifdef CHECKTOOL_TEST_FONT_DIR
    // On Windows the offscreen platform draws with the fonts of one folder, which it takes from this
    // variable; set here, inside the program, it survives Wine.
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", QByteArrayLiteral(CHECKTOOL_TEST_FONT_DIR));
#endif
    static QByteArray program(name);
    static char platform_option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {program.data(), platform_option, platform, nullptr};
    static int argc = 3;
    return new QApplication(argc, argv);
}
