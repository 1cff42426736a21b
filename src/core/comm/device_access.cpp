#include "comm/device_access.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "comm/comm_texts.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

std::string UserName(uid_t uid) {
    const passwd* entry = ::getpwuid(uid);
    return entry ? entry->pw_name : std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    const group* entry = ::getgrgid(gid);
    return entry ? entry->gr_name : std::to_string(gid);
}

bool SessionHasGroup(gid_t gid) {
    if (::getegid() == gid) return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<std::size_t>(i)] == gid) return true;
    return false;
}

bool UserListedInGroup(gid_t gid) {
    const passwd* user = ::getpwuid(::geteuid());
    if (!user) return false;
    if (user->pw_gid == gid) return true;
    const std::string name = user->pw_name;
    const group* entry = ::getgrgid(gid);
    if (!entry || !entry->gr_mem) return false;
    for (char** member = entry->gr_mem; *member; ++member)
        if (name == *member) return true;
    return false;
}

}  // namespace

DeviceOwnership OwnershipOf(const std::string& path) {
    DeviceOwnership ownership;
    // The device itself is named, not the COM<n> link that leads to it.
    char* real = ::realpath(path.c_str(), nullptr);
    ownership.path = real ? real : path;
    std::free(real);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return ownership;
    ownership.known = true;
    ownership.owner = UserName(info.st_uid);
    ownership.group = GroupName(info.st_gid);
    ownership.groupMayReadWrite = (info.st_mode & S_IRGRP) && (info.st_mode & S_IWGRP);
    ownership.sessionHasGroup = SessionHasGroup(info.st_gid);
    ownership.userListedInGroup = ownership.sessionHasGroup || UserListedInGroup(info.st_gid);
    return ownership;
}

std::string PermissionAdvice(const DeviceOwnership& o) {
    if (!o.known) return {};
    const char* path = o.path.c_str();
    const char* group = o.group.c_str();
    if (!o.groupMayReadWrite)
        return FormatText(comm_text::kOwnerOnlyFormat, path, o.owner.c_str(), group);
    if (o.userListedInGroup && !o.sessionHasGroup) return FormatText(comm_text::kLoginAgainFormat, path, group);
    return FormatText(comm_text::kJoinGroupFormat, path, group, group);
}

}  // namespace korvath
