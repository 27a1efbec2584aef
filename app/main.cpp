#include <QApplication>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CTarvoCheckToolApp.h"
#include "res/string_table.h"
#include "res/window_texts.h"
#include "sys/console_text.h"
#include "sys/exe_facts.h"
#include "sys/program_main.h"

namespace {

int run_window(int& argc, char** argv, const std::vector<std::string>& arguments) {
    // Answered before Qt starts, so that it works without a display and leaves no log behind; on
    // Windows into the console of the prompt that started the program, which a window program lacks.
    if (arguments.size() == 2 && (arguments[1] == "--version" || arguments[1] == "--help")) {
        attach_parent_console();
        const std::string text = arguments[1] == "--help"
                                     ? load_string(text::kWindowHelp)
                                     : load_string(text::kWindowVersion, {get_file_version()});
        std::_Exit(write_console_text(stdout, text) ? EXIT_SUCCESS : EXIT_FAILURE);
    }
    QApplication application(argc, argv);
    CTarvoCheckToolApp tool;
    if (tool.InitInstance() == CTarvoCheckToolApp::Outcome::kOtherCopyRuns) {
        // A copy that did not start leaves no trace, not even the log's exit block written at clean-up.
        std::_Exit(EXIT_SUCCESS);
    }
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char* argv[])
{
    return run_program_main(argc, argv, "checktool", [&](const std::vector<std::string>& arguments) {
        return run_window(argc, argv, arguments);
    });
}
