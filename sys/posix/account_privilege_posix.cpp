#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "sys/account_privilege.h"

namespace {

AccountFacts read_account_facts() {
    AccountFacts facts;
    uid_t uid = geteuid();
    if (uid == 0) {
        facts.lookup_ok = true;
        facts.superuser = true;
        return facts;
    }
    std::vector<char> buffer(16384);
    struct passwd record {};
    struct passwd* account = nullptr;
    if (getpwuid_r(uid, &record, buffer.data(), buffer.size(), &account) != 0 || !account) return facts;

    int count = 64;
    std::vector<gid_t> ids(count);
    if (getgrouplist(account->pw_name, account->pw_gid, ids.data(), &count) < 0) {
        // count now holds the number needed.
        ids.resize(count);
        if (count <= 0 || getgrouplist(account->pw_name, account->pw_gid, ids.data(), &count) < 0)
            return facts;
    }
    ids.resize(count);

    std::vector<char> group_buffer(65536);
    for (gid_t id : ids) {
        struct group entry {};
        struct group* found = nullptr;
        if (getgrgid_r(id, &entry, group_buffer.data(), group_buffer.size(), &found) == 0 && found &&
            found->gr_name)
            facts.groups.push_back(found->gr_name);
    }
    facts.lookup_ok = true;
    return facts;
}

}  // namespace

int get_account_privilege() {
    return privilege_from_facts(read_account_facts());
}
