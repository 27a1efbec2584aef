#pragma once

#include <string>

// What names the person and the machine the tool runs on: the values a privacy-minded bundle hides.
struct UserIdentity {
    std::string host_name;
    std::string login;
    std::string full_name;  // empty when the account has none
    std::string home;       // the home folder, without a trailing separator
    std::string domain{};   // the DNS domain of the host ("corp.example.com"); empty when it has none
};

// Of the account running the tool; members that cannot be determined stay empty.
UserIdentity current_user_identity();
