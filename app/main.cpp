#include <QApplication>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CTarvoCheckToolApp.h"
#include "engine/archive_upload.h"
#include "res/cli_texts.h"  // the same words as the command line for the same flags
#include "res/string_table.h"
#include "res/window_texts.h"
#include "sys/console_text.h"
#include "sys/exe_facts.h"
#include "sys/program_main.h"

namespace {

constexpr int kUsageStatus = 64;

// The upload's flags; other arguments are Qt's or ignored, as ever. False, with a message, for
// flags that cannot be used.
bool upload_options(const std::vector<std::string>& arguments, ArchiveUploadOptions& options, std::string& error)
{
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (!is_upload_flag(arguments[i]))
            continue;
        if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
            error = load_string(text::kNeedsValue, {arguments[i]});
            return false;
        }
        take_upload_flag(arguments[i], arguments[i + 1], options);
        ++i;
    }
    return upload_flags_complete(options, error);
}

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
    ArchiveUploadOptions upload;
    std::string error;
    if (!upload_options(arguments, upload, error)) {
        attach_parent_console();
        write_console_text(stderr, error + "\n");
        std::_Exit(kUsageStatus);
    }
    QApplication application(argc, argv);
    CTarvoCheckToolApp tool;
    if (tool.InitInstance(upload) == CTarvoCheckToolApp::Outcome::kOtherCopyRuns) {
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
