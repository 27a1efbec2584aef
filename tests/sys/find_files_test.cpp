#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "sys/files.h"
#include "temp_folder_support.h"
#include "tests/link_planting.h"

namespace {

// Paths relative to the temporary folder, to keep expectations short.
std::vector<std::string> relative(const TempFolder& temp, const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& path : paths) names.push_back(path.substr(temp.path().size() + 1));
    return names;
}

using Names = std::vector<std::string>;

FolderEntry listed(const std::string& name, bool folder = false, const std::string& reparse_point = "",
                   bool symlink = false) {
    FolderEntry entry;
    entry.name = name;
    entry.folder = folder;
    entry.reparse_point = reparse_point;
    entry.symlink = symlink;
    return entry;
}

}  // namespace

TEST(FindFiles, ExtensionsCompareLowerCased) {
    TempFolder temp;
    temp.write("a.TXT");
    temp.write("b.log");
    temp.write("noext");
    std::vector<std::string> out;
    find_files(out, temp.path(), "", "txt", false, "", true, false);
    EXPECT_EQ(relative(temp, out), (Names{"a.TXT"}));

    out.clear();
    find_files(out, temp.path() + "/", "*", "*.LOG;.txt;", false, "", true, false);
    EXPECT_EQ(relative(temp, out), (Names{"a.TXT", "b.log"}));

    out.clear();
    find_files(out, temp.path(), "*", "*", false, "", true, false);
    EXPECT_EQ(relative(temp, out), (Names{"a.TXT", "b.log", "noext"}));
}

TEST(FindFiles, ExclusionsMatchAnywhereInAnyCase) {
    TempFolder temp;
    temp.write("keep.log");
    temp.write("TMP_1.log");
    temp.write("x.tmp");
    temp.write("cache.bak");
    std::vector<std::string> out;
    find_files(out, temp.path(), "*", "", false, "tmp;BAK", true, false);
    EXPECT_EQ(relative(temp, out), (Names{"keep.log"}));
}

TEST(FindFiles, RecursionListsFilesOnlyAndSortsWholeList) {
    TempFolder temp;
    temp.write("z.txt");
    temp.write("B/inner.txt");
    temp.write("a/deep/er/leaf.txt");
    temp.write("a/first.txt");
    std::filesystem::create_directories(temp / "empty");
    std::vector<std::string> out{temp / "already-there"};
    find_files(out, temp.path(), "*", "*", true, "", true, true);
    EXPECT_EQ(relative(temp, out),
              (Names{"B/inner.txt", "a/deep/er/leaf.txt", "a/first.txt", "already-there", "z.txt"}));
}

TEST(FindFiles, FoldersListedOnlyWhenAskedAndNotRecursing) {
    TempFolder temp;
    temp.write("sub/f.txt");
    temp.write("g.txt");
    std::vector<std::string> out;
    find_files(out, temp.path(), "*", "txt", true, "sub", true, false);
    EXPECT_EQ(relative(temp, out), (Names{"g.txt", "sub"}))
        << "folders skip the extension and exclusion tests";

    out.clear();
    find_files(out, temp.path(), "*", "txt", false, "", true, false);
    EXPECT_EQ(relative(temp, out), (Names{"g.txt"}));
}

TEST(FindFiles, NamePatternUsesWildcardsInAnyCase) {
    TempFolder temp;
    temp.write("Report_1.txt");
    temp.write("report_22.txt");
    temp.write("summary.txt");
    std::vector<std::string> out;
    find_files(out, temp.path(), "REPORT_?.*", "", false, "", true, false);
    EXPECT_EQ(relative(temp, out), (Names{"Report_1.txt"}));
    out.clear();
    find_files(out, temp.path(), "*.*", "", false, "", true, false);
    EXPECT_EQ(out.size(), 3u);
}

TEST(FindFiles, SurvivesMissingFolders) {
    TempFolder temp;
    std::vector<std::string> out;
    find_files(out, temp / "missing", "*", "*", false, "", true, true);
    EXPECT_TRUE(out.empty());
}

TEST(FindFiles, AFolderTooLongToListGivesNothingRatherThanAnotherFolder) {
    TempFolder temp;
    const std::string deep = std::string(200, 'd') + "/" + std::string(200, 'e');
    temp.write(deep + "/only_here.txt");
    std::vector<std::string> out;
    find_files(out, temp / deep, "*", "*", true, "", true, false);
    for (const std::string& path : out) EXPECT_EQ(path, temp / (deep + "/only_here.txt"));
}

TEST(FindFiles, SurvivesLinkLoops) {
    SKIP_UNLESS_LINKS_CAN_BE_PLANTED();
    TempFolder temp;
    std::vector<std::string> out;
    temp.write("loop/file.txt");
    std::filesystem::create_directory_symlink(temp.path(), temp / "loop/back");
    find_files(out, temp.path(), "*", "*", false, "", true, true);
    EXPECT_EQ(relative(temp, out), (Names{"loop/file.txt"}));
}

TEST(FindFiles, LinksToOtherPlacesAreNeverEnteredAndWindowsOnesAreTold) {
    // A listing as Windows gives it: a junction back up the tree, a symbolic link to another drive, and
    // a cloud folder (a reparse point that keeps its data in place, entered like any folder).
    const std::map<std::string, std::vector<FolderEntry>> tree = {
        {"logs",
         {listed("app.log"), listed("loop", true, "junction or mount point"), listed("Cloud", true),
          listed("elsewhere", true, "symbolic link"), listed("posix-link", true, "", true)}},
        {"logs/Cloud", {listed("synced.log")}},
        {"logs/loop", {listed("app.log"), listed("loop", true, "junction or mount point")}},
    };
    std::vector<std::string> asked;
    const FolderLister fake = [&](const std::string& folder) {
        asked.push_back(folder);
        const auto found = tree.find(folder);
        return found == tree.end() ? std::vector<FolderEntry>{} : found->second;
    };
    std::vector<std::string> out;
    std::vector<PassedOverFolder> passed;
    find_files(out, "logs", "*", "*", false, "", true, true, &passed, fake);
    EXPECT_EQ(out, (Names{"logs/Cloud/synced.log", "logs/app.log"}));
    EXPECT_EQ(asked, (Names{"logs", "logs/Cloud"})) << "no link is listed, let alone walked";
    ASSERT_EQ(passed.size(), 2u) << "a POSIX symbolic link is passed over silently, as it always was";
    EXPECT_EQ(passed[0].path, "logs/elsewhere");
    EXPECT_EQ(passed[0].kind, "symbolic link");
    EXPECT_EQ(passed[1].path, "logs/loop");
    EXPECT_EQ(passed[1].kind, "junction or mount point");

    out.clear();
    find_files(out, "logs", "*", "*", true, "", true, false, nullptr, fake);
    EXPECT_EQ(out, (Names{"logs/Cloud", "logs/app.log", "logs/elsewhere", "logs/loop", "logs/posix-link"}))
        << "without recursion links are listed as the folders they stand for";
}
