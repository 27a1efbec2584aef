#pragma once

#include <string>
#include <vector>

class CCheckHost;
struct CCheckParam;

// One check to perform. The handler is a member routine of the check host; the host object is
// supplied at the call, so copies of an item share the routine and nothing else.
struct CCheckItem {
    using Handler = bool (CCheckHost::*)(CCheckParam*);

    std::string name;  // text up to the first blank is the category shown in the log page
    std::string host;  // host name or dotted IPv4 address; empty for the account item
    int port = 0;
    int kind_index = -1;  // position in server_kinds; -1 for the account item
    bool relay_flag = false;
    Handler handler = nullptr;

    // The category: the name up to its first blank; empty when the name has none.
    std::string category() const {
        const size_t blank = name.find(' ');
        return blank == std::string::npos ? std::string() : name.substr(0, blank);
    }
};

// The items of one kind, checked one after another; they all bear the same name.
using CheckGroup = std::vector<CCheckItem>;
using CheckGroups = std::vector<CheckGroup>;
