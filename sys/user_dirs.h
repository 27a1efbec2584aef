#pragma once

#include <string>

// The documents folder named by the text of an XDG user-dirs.dirs file (XDG_DOCUMENTS_DIR="$HOME/x" or
// an absolute path), with $HOME replaced by home. Empty when the file does not name one usably.
std::string documents_folder_from_user_dirs(const std::string& user_dirs_text, const std::string& home);
