#include "cli/cli_help.h"

#include <algorithm>

#include "res/cli_texts.h"
#include "res/string_table.h"
#include "res/upload_texts.h"
#include "sys/exe_facts.h"

namespace {

struct CliFlag {
    const char* name;
    const char* value;  // the placeholder of the flag's value, or empty for a switch
    int meaning;
};

// The packaged bash completion reads the flag lines of --help ("  --flag VALUE  meaning"), so a
// flag listed here is completed without further work.
constexpr CliFlag kFlags[] = {
    {"--web-host", "HOST", text::kFlagWebHost},
    {"--web-port", "PORT", text::kFlagWebPort},
    {"--json", "", text::kFlagJson},
    {"--check-list", "FILE", text::kFlagCheckList},
    {"--save-log", "", text::kFlagSaveLog},
    {"--redact", "", text::kFlagRedact},
    {"--redact-drop-binary", "", text::kFlagRedactDropBinary},
    {"--since", "DAYS", text::kFlagSince},
    {"--max-file-size", "SIZE", text::kFlagMaxFileSize},
    {"--upload", "URL", text::kFlagUpload},
    {"--upload-header", "LINE", text::kFlagUploadHeader},
    {"--upload-ca", "FILE", text::kFlagUploadCa},
    {"--help", "", text::kFlagHelp},
    {"--version", "", text::kFlagVersion},
};

struct CliExitMeaning {
    CliExitStatus status;
    int meaning;
};

constexpr CliExitMeaning kExitMeanings[] = {
    {kAllPassed, text::kExitAllPassed},
    {kSomeFailed, text::kExitSomeFailed},
    {kCheckListUnusable, text::kExitCheckListUnusable},
    {kNoArchive, text::kExitNoArchive},
    {kUploadFailed, text::kExitUploadFailed},
    {kUsage, text::kExitUsage},
    {kUnexpectedFailure, text::kExitUnexpectedFailure},
    {kStopped, text::kExitStopped},
};

std::string flag_with_value(const CliFlag& flag) {
    return *flag.value ? std::string(flag.name) + " " + flag.value : std::string(flag.name);
}

std::string padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

}  // namespace

std::string cli_usage() {
    std::string flags;
    for (const CliFlag& flag : kFlags) {
        const std::string name = flag.name;
        if (name == "--help" || name == "--version") continue;
        flags += " [" + flag_with_value(flag) + "]";
    }
    return load_string(text::kUsage, {flags});
}

std::string cli_help() {
    size_t width = 0;
    for (const CliFlag& flag : kFlags) width = std::max(width, flag_with_value(flag).size());

    std::string text = cli_usage() + "\n\n" + load_string(text::kHelpAbout) + "\n\n" +
                       load_string(text::kHelpOptions) + "\n";
    for (const CliFlag& flag : kFlags)
        text += "  " + padded(flag_with_value(flag), width) + "  " + load_string(flag.meaning) + "\n";
    text += "\n" + load_string(text::kHelpExitStatus) + "\n";
    for (const CliExitMeaning& exit : kExitMeanings)
        text += "  " + padded(std::to_string(exit.status), 5) + load_string(exit.meaning) + "\n";
    text += "\n" + load_string(text::kHelpMore);
    return text;
}

std::string cli_version() {
    return load_string(text::kVersion, {get_file_version()});
}
