#pragma once

#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return root; }
    // root + "/" + relative
    std::string operator/(const std::string& relative) const { return root + "/" + relative; }
    // Creates the file (and its folders) with the given bytes; returns its path.
    std::string write(const std::string& relative, const std::string& bytes = "") const;
    static std::string read(const std::string& path);

private:
    std::string root;
};
