#include "cli/cli_options.h"

#include <cstdlib>
#include <string_view>

#include "res/cli_texts.h"
#include "res/string_table.h"

namespace {

bool flag_takes_value(std::string_view arg) {
    return arg == "--web-host" || arg == "--web-port" || arg == "--check-list" || arg == "--since" ||
           arg == "--max-file-size" || is_upload_flag(arg);
}

// Stores the value of a flag that takes one; false with a message when it is unusable.
bool take_value(std::string_view arg, const char* value, CliOptions& options, std::string& error) {
    if (is_upload_flag(arg)) {
        take_upload_flag(arg, value, options.upload);
    } else if (arg == "--web-host") {
        options.web_host = value;
    } else if (arg == "--check-list") {
        options.check_list_file = value;
    } else if (arg == "--web-port") {
        char* end = nullptr;
        const long port = std::strtol(value, &end, 10);
        if (*end != '\0' || port < 1 || port > 65535) {
            error = load_string(text::kNotAPort, {value});
            return false;
        }
        options.web_port = static_cast<int>(port);
    } else if (arg == "--since") {
        options.bundle.since_days = parse_day_count(value);
        if (!options.bundle.since_days) {
            error = load_string(text::kBadSince, {value});
            return false;
        }
    } else {
        options.bundle.max_file_size = parse_byte_size(value);
        if (!options.bundle.max_file_size) {
            error = load_string(text::kBadMaxFileSize, {value});
            return false;
        }
    }
    return true;
}

}  // namespace

bool parse_cli_options(int argc, const char* const* argv, CliOptions& options, std::string& error) {
    const char* bundle_flag = nullptr;  // the first flag that only makes sense with --save-log
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--save-log") {
            options.save_log = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--redact" || arg == "--redact-drop-binary") {
            options.bundle.redact = true;
            if (arg == "--redact-drop-binary") options.bundle.drop_binary = true;
            if (!bundle_flag) bundle_flag = argv[i];
        } else if (flag_takes_value(arg)) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = load_string(text::kNeedsValue, {arg});
                return false;
            }
            if (!take_value(arg, argv[++i], options, error)) return false;
            if (!bundle_flag && (arg == "--since" || arg == "--max-file-size" || is_upload_flag(arg)))
                bundle_flag = argv[i - 1];
        } else {
            error = load_string(text::kUnknownArgument, {arg});
            return false;
        }
    }
    if (bundle_flag && !options.save_log && !options.help && !options.version) {
        error = load_string(text::kBundleFlagAlone, {bundle_flag});
        return false;
    }
    return options.help || options.version || upload_flags_complete(options.upload, error);
}
