#pragma once

#include <set>
#include <string>

// Hands out names that no earlier one took, letter case aside (a file system that ignores case sees
// "User-1.log" and "user-1.log" as one file): a second "logs/user-1.log" becomes "logs/user-1 (2).log".
class UniqueNames {
public:
    std::string claim(const std::string& name);

private:
    std::set<std::string> taken;  // in lower case
};
