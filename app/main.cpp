#include <QApplication>

#include <cstdlib>

#include "app/CTarvoCheckToolApp.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    CTarvoCheckToolApp tool;
    if (tool.InitInstance() == CTarvoCheckToolApp::Outcome::kOtherCopyRuns) {
        // A copy that did not start leaves no trace, not even the log's exit block written at clean-up.
        std::_Exit(EXIT_SUCCESS);
    }
    return EXIT_SUCCESS;
}
