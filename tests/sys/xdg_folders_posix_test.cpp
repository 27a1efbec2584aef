#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "sys/folders.h"
#include "sys/user_dirs.h"
#include "temp_folder_support.h"

TEST(UserDirs, DocumentsFolderFromTheFile) {
    const std::string home = "/home/kim";
    EXPECT_EQ(documents_folder_from_user_dirs("XDG_DOCUMENTS_DIR=\"$HOME/문서\"\n", home), "/home/kim/문서");
    EXPECT_EQ(
        documents_folder_from_user_dirs("# XDG_DOCUMENTS_DIR=\"/x\"\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                        "  XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n",
                                        home),
        "/srv/docs");
    EXPECT_EQ(documents_folder_from_user_dirs("XDG_DOCUMENTS_DIR=\"${HOME}/My \\\"Docs\\\"\"", home),
              "/home/kim/My \"Docs\"");
    EXPECT_EQ(documents_folder_from_user_dirs("XDG_DOCUMENTS_DIR=\"relative/path\"", home), "");
    EXPECT_EQ(documents_folder_from_user_dirs("", home), "");
}

TEST(SpecialFolders, FollowTheXdgSettings) {
    TempFolder temp;
    temp.write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    setenv("HOME", (temp / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (temp / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", "relative/ignored", 1);
    EXPECT_EQ(get_special_folder(kPersonal), temp / "home/Docs");
    EXPECT_EQ(get_special_folder(kLocalAppData), temp / "home/.local/share");
    EXPECT_EQ(get_special_folder(kCommonDocuments), "/var/tmp");
    EXPECT_EQ(get_special_folder(0x99), "");
    EXPECT_FALSE(std::filesystem::exists(temp / "home")) << "looking a folder up does not create it";
    EXPECT_EQ(expand_user_documents("__user_documents_folder__/Selvanta/__user_documents_folder__"),
              temp / "home/Docs/Selvanta/" + temp / "home/Docs");
    EXPECT_EQ(expand_user_documents("/opt/__user_documents_folder__"), "/opt/__user_documents_folder__");

    setenv("XDG_CONFIG_HOME", (temp / "nowhere").c_str(), 1);
    setenv("XDG_DATA_HOME", "/data/share", 1);
    EXPECT_EQ(get_special_folder(kPersonal), temp / "home/Documents");
    EXPECT_EQ(get_special_folder(kLocalAppData), "/data/share");
}
