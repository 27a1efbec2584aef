#include "res/cli_texts.h"

#include "res/text_tables.h"

namespace {

constexpr TextEntry kTexts[] = {
    {text::kUsage, "usage: checktool-cli%1\n       checktool-cli --help | --version"},
    {text::kHelpAbout,
     "Checks whether this computer can use the product's servers, as the window\n"
     "of the Check Tool does, and prints the result of every check."},
    {text::kHelpOptions, "Options:"},
    {text::kHelpExitStatus, "Exit status:"},
    {text::kHelpMore,
     "Environment:\n"
     "  CHECKTOOL_WEB_HOST, CHECKTOOL_WEB_PORT\n"
     "                  the web server when no flag names it (else the built-in one)\n"
     "  XDG_DATA_HOME   the support bundle goes to $XDG_DATA_HOME/Temp\n"
     "                  (default ~/.local/share/Temp)\n"
     "  XDG_STATE_HOME  an installed program (in a bin folder) logs to\n"
     "                  $XDG_STATE_HOME/TarvoCheckTool/Log (default ~/.local/state/...),\n"
     "                  any other to Log/ beside itself, or there if that cannot be written\n"
     "\n"
     "Output:\n"
     "  Into a pipe or a file, text and JSON are UTF-8 (without a byte-order mark);\n"
     "  a Windows console shows them in its own characters, whatever its code page.\n"
     "  PowerShell reads piped output right after\n"
     "  [Console]::OutputEncoding = [Text.Encoding]::UTF8\n"
     "\n"
     "See checktool-cli(1)."},
    {text::kVersion, "checktool-cli %1"},
    {text::kFlagWebHost, "the product's web server that serves the check list"},
    {text::kFlagWebPort, "its port, 1 to 65535"},
    {text::kFlagJson, "print one JSON object at the end instead of a line per check"},
    {text::kFlagCheckList, "run from a local checklist.json instead of downloading it"},
    {text::kFlagSaveLog, "after a completed run, pack the support bundle (a ZIP file and its .sha256)"},
    {text::kFlagRedact, "with --save-log: tokens for addresses and names; their map beside the bundle"},
    {text::kFlagRedactDropBinary, "as --redact, and leave out log files that are not text"},
    {text::kFlagSince, "with --save-log: pack only log files modified in the last DAYS days"},
    {text::kFlagMaxFileSize, "with --save-log: leave out log files larger than SIZE (bytes, 512K, 200M, 2G)"},
    {text::kFlagHelp, "print this help and exit"},
    {text::kFlagVersion, "print the version and exit"},
    {text::kExitAllPassed, "every check passed"},
    {text::kExitSomeFailed, "some check failed"},
    {text::kExitCheckListUnusable, "the check list could not be loaded or used"},
    {text::kExitNoArchive,
     "--save-log could not write the support bundle whole: the archive, its\n"
     "       checksum file or redaction map (standard error says why and which\n"
     "       collected files were left)"},
    {text::kExitUsage, "bad usage"},
    {text::kExitUnexpectedFailure, "an unexpected failure of the program (standard error says what)"},
    {text::kExitStopped,
     "stopped with Ctrl+C (SIGINT) before the run or the bundle was done,\n"
     "       leaving nothing half made; on Windows also when the console window\n"
     "       closes or the user logs off"},
    {text::kRunTotals, "checks: %1, failures: %2%3"},
    {text::kRunStoppedMark, " (stopped)"},
    {text::kArchiveLine, "archive: %1"},
    {text::kSha256Line, "sha256: %1"},
    {text::kRedactionMapLine, "redaction map: %1"},
    {text::kNotPackedLine, "not packed: %1 (%2)"},
    {text::kPackedUnredactedLine, "packed unredacted: %1 (%2)"},
    {text::kNotAPort, "not a port: %1"},
    {text::kBadSince, "--since needs a number of days from 1 to 36500: %1"},
    {text::kBadMaxFileSize, "--max-file-size needs a positive size such as 4096, 512K, 200M or 2G: %1"},
    {text::kNeedsValue, "%1 needs a value"},
    {text::kUnknownArgument, "unknown argument: %1"},
    {text::kBundleFlagAlone, "%1 applies to the log collection: add --save-log"},
    {text::kCollectionStopped, "the log collection was stopped; nothing of it was left behind"},
    {text::kNoLogArchive, "no log archive: %1"},
    {text::kLeftBehind, "left behind: %1"},
};

}  // namespace

std::span<const TextEntry> cli_texts() {
    return kTexts;
}
