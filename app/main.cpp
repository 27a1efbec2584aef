#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/CTarvoCheckToolApp.h"
#include "sys/exe_facts.h"

int main(int argc, char* argv[])
{
    // Answered before Qt starts, so that it works without a display and leaves no log behind.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const bool written = std::printf("checktool %s\n", get_file_version().c_str()) > 0;
        std::_Exit(written && std::fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE);
    }
    QApplication application(argc, argv);
    CTarvoCheckToolApp tool;
    if (tool.InitInstance() == CTarvoCheckToolApp::Outcome::kOtherCopyRuns) {
        // A copy that did not start leaves no trace, not even the log's exit block written at clean-up.
        std::_Exit(EXIT_SUCCESS);
    }
    return EXIT_SUCCESS;
}
