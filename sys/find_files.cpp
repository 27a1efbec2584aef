#include <algorithm>
#include <set>

#include "sys/ascii_text.h"
#include "sys/exe_facts.h"
#include "sys/files.h"
#include "sys/listable_folder.h"

namespace {

// "*" any run of characters, "?" exactly one; both texts already lower-cased.
bool wildcard_match(const std::string& pattern, const std::string& name) {
    size_t p = 0, n = 0, star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> split_lower(const std::string& list, bool strip_wildcards) {
    std::vector<std::string> pieces;
    std::string lower = ascii_lower(list);
    size_t from = 0;
    while (from <= lower.size()) {
        size_t end = lower.find(';', from);
        if (end == std::string::npos) end = lower.size();
        std::string piece = lower.substr(from, end - from);
        if (strip_wildcards) std::erase_if(piece, [](char c) { return c == '*' || c == '.'; });
        if (!piece.empty()) pieces.push_back(piece);
        from = end + 1;
    }
    return pieces;
}

struct SearchRules {
    std::string pattern;  // lower-cased
    std::set<std::string> extensions;
    std::vector<std::string> excludes;
    bool include_folders;
    bool recursive;
    std::vector<PassedOverFolder>* passed_over;
    const FolderLister* list;
};

// Paths are the folder's text as given plus "/" and the names below it, on Windows too (where the
// library would join with a backslash), so that a list sorts the same on every platform.
void search(std::vector<std::string>& out, const std::string& folder, const SearchRules& rules) {
    if (!folder_can_be_listed(folder)) return;
    const bool ends_with_separator = folder.empty() || folder.back() == '/' || folder.back() == '\\';
    for (const FolderEntry& entry : (*rules.list)(folder)) {
        std::string path = folder + (ends_with_separator ? "" : "/") + entry.name;
        std::string name = ascii_lower(entry.name);
        if (!wildcard_match(rules.pattern, name)) continue;

        if (entry.folder) {
            const bool link = entry.symlink || !entry.reparse_point.empty();
            if (rules.recursive && !link)
                search(out, path, rules);
            else if (rules.recursive && !entry.reparse_point.empty() && rules.passed_over)
                rules.passed_over->push_back({path, entry.reparse_point});
            else if (!rules.recursive && rules.include_folders)
                out.push_back(path);
            continue;
        }
        bool excluded =
            std::any_of(rules.excludes.begin(), rules.excludes.end(),
                        [&](const std::string& piece) { return name.find(piece) != std::string::npos; });
        if (excluded) continue;
        if (!rules.extensions.empty() && !rules.extensions.count(ascii_lower(split_path(path, 4)))) continue;
        out.push_back(path);
    }
}

}  // namespace

void find_files(std::vector<std::string>& out, const std::string& folder, const std::string& name_pattern,
                const std::string& extensions, bool include_folders, const std::string& excludes, bool sort,
                bool recursive, std::vector<PassedOverFolder>* passed_over, const FolderLister& list) {
    SearchRules rules;
    rules.pattern = name_pattern.empty() || name_pattern == "*.*" ? "*" : ascii_lower(name_pattern);
    std::vector<std::string> wanted = split_lower(extensions, true);
    rules.extensions = std::set<std::string>(wanted.begin(), wanted.end());
    rules.excludes = split_lower(excludes, false);
    rules.include_folders = include_folders;
    rules.recursive = recursive;
    rules.passed_over = passed_over;
    rules.list = &list;
    search(out, folder, rules);
    if (!sort) return;
    std::sort(out.begin(), out.end());
    if (passed_over)
        std::sort(passed_over->begin(), passed_over->end(),
                  [](const PassedOverFolder& a, const PassedOverFolder& b) { return a.path < b.path; });
}
