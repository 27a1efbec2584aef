#include "cli/cli_help.h"

#include <algorithm>

#include "sys/exe_facts.h"

namespace {

struct CliFlag {
    const char* name;
    const char* value;  // the placeholder of the flag's value, or empty for a switch
    const char* meaning;
};

// The packaged bash completion reads the flag lines of --help ("  --flag VALUE  meaning"), so a
// flag listed here is completed without further work.
constexpr CliFlag kFlags[] = {
    {"--web-host", "HOST", "the product's web server that serves the check list"},
    {"--web-port", "PORT", "its port, 1 to 65535"},
    {"--json", "", "print one JSON object at the end instead of a line per check"},
    {"--check-list", "FILE", "run from a local checklist.json instead of downloading it"},
    {"--save-log", "", "after a completed run, pack the support bundle (a ZIP file and its .sha256)"},
    {"--redact", "", "with --save-log: tokens for addresses and names; their map beside the bundle"},
    {"--redact-drop-binary", "", "as --redact, and leave out log files that are not text"},
    {"--since", "DAYS", "with --save-log: pack only log files modified in the last DAYS days"},
    {"--max-file-size", "SIZE",
     "with --save-log: leave out log files larger than SIZE (bytes, 512K, 200M, 2G)"},
    {"--upload", "URL", "with --save-log: then send the archive with one PUT to this pre-signed https URL"},
    {"--upload-header", "LINE", "an extra \"Name: value\" header for the upload (again for more)"},
    {"--upload-ca", "FILE", "PEM certificates trusted for the upload besides the system's"},
    {"--help", "", "print this help and exit"},
    {"--version", "", "print the version and exit"},
};

struct CliExitMeaning {
    CliExitStatus status;
    const char* meaning;
};

constexpr CliExitMeaning kExitMeanings[] = {
    {kAllPassed, "every check passed"},
    {kSomeFailed, "some check failed"},
    {kCheckListUnusable, "the check list could not be loaded or used"},
    {kNoArchive,
     "--save-log could not write the support bundle whole: the archive, its\n"
     "       checksum file or redaction map (standard error says why and which\n"
     "       collected files were left)"},
    {kUploadFailed,
     "--upload could not send the archive (standard error says why and names\n"
     "       the archive to send by hand; JSON \"upload\" says the same, null when\n"
     "       no upload was asked for)"},
    {kUsage, "bad usage"},
    {kUnexpectedFailure, "an unexpected failure of the program (standard error says what)"},
    {kStopped,
     "stopped with Ctrl+C (SIGINT) before the run or the bundle was done,\n"
     "       leaving nothing half made; on Windows also when the console window\n"
     "       closes or the user logs off"},
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
    std::string usage = "usage: checktool-cli";
    for (const CliFlag& flag : kFlags) {
        const std::string name = flag.name;
        if (name == "--help" || name == "--version") continue;
        usage += " [" + flag_with_value(flag) + "]";
    }
    return usage + "\n       checktool-cli --help | --version";
}

std::string cli_help() {
    size_t width = 0;
    for (const CliFlag& flag : kFlags) width = std::max(width, flag_with_value(flag).size());

    std::string text = cli_usage() +
                       "\n\nChecks whether this computer can use the product's servers, as the window\n"
                       "of the Check Tool does, and prints the result of every check.\n\nOptions:\n";
    for (const CliFlag& flag : kFlags)
        text += "  " + padded(flag_with_value(flag), width) + "  " + flag.meaning + "\n";
    text += "\nExit status:\n";
    for (const CliExitMeaning& exit : kExitMeanings)
        text += "  " + padded(std::to_string(exit.status), 5) + exit.meaning + "\n";
    text +=
        "\nEnvironment:\n"
        "  CHECKTOOL_WEB_HOST, CHECKTOOL_WEB_PORT\n"
        "                  the web server when no flag names it (else the built-in one)\n"
        "  XDG_DATA_HOME   the support bundle goes to $XDG_DATA_HOME/Temp\n"
        "                  (default ~/.local/share/Temp)\n"
        "  XDG_STATE_HOME  an installed program (in a bin folder) logs to\n"
        "                  $XDG_STATE_HOME/TarvoCheckTool/Log (default ~/.local/state/...),\n"
        "                  any other to Log/ beside itself, or there if that cannot be written\n"
        "\nOutput:\n"
        "  Into a pipe or a file, text and JSON are UTF-8 (without a byte-order mark);\n"
        "  a Windows console shows them in its own characters, whatever its code page.\n"
        "  PowerShell reads piped output right after\n"
        "  [Console]::OutputEncoding = [Text.Encoding]::UTF8\n"
        "\nSee checktool-cli(1).";
    return text;
}

std::string cli_version() {
    return "checktool-cli " + get_file_version();
}
