#include "sys/folders.h"

std::string expand_user_documents(const std::string& path) {
    static const std::string kToken = "__user_documents_folder__";
    if (path.compare(0, kToken.size(), kToken) != 0) return path;
    std::string documents = get_special_folder(kPersonal);
    std::string expanded;
    size_t from = 0;
    for (size_t at = path.find(kToken); at != std::string::npos; at = path.find(kToken, from)) {
        expanded.append(path, from, at - from);
        expanded += documents;
        from = at + kToken.size();
    }
    expanded.append(path, from, std::string::npos);
    return expanded;
}
