#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "sys/account_privilege.h"
#include "sys/lookup_buffer.h"

namespace {

// Systems answer a missing entry in several ways (0 with no record, ENOENT, ESRCH, EBADF, EPERM);
// these answers mean the entry is there but could not be read.
bool unreadable(int answer) {
    return answer == ERANGE || answer == EIO || answer == EINTR || answer == EMFILE || answer == ENFILE ||
           answer == ENOMEM;
}

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
    const int account_read = lookup_with_growing_buffer(
        buffer, [&](std::vector<char>& b) { return getpwuid_r(uid, &record, b.data(), b.size(), &account); });
    if (account_read != 0 || !account) return facts;

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
        const int group_read = lookup_with_growing_buffer(group_buffer, [&](std::vector<char>& b) {
            return getgrgid_r(id, &entry, b.data(), b.size(), &found);
        });
        // A group that cannot be read might be the administrators': the lookup as a whole failed.
        if (unreadable(group_read)) return facts;
        if (found && found->gr_name) facts.groups.push_back(found->gr_name);
    }
    facts.lookup_ok = true;
    return facts;
}

}  // namespace

int get_account_privilege() {
    return privilege_from_facts(read_account_facts());
}

std::optional<bool> process_elevated() {
    return geteuid() == 0;
}
