#include "support/Privileges.h"

#include <cerrno>
#include <cstring>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

struct Caps {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
};

constexpr unsigned kOverrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH};

bool Get(Caps &caps)
{
    return ::syscall(SYS_capget, &caps.header, caps.data) == 0;
}

bool Set(Caps &caps)
{
    return ::syscall(SYS_capset, &caps.header, caps.data) == 0;
}

void SetEffective(Caps &caps, bool on)
{
    for (const unsigned cap : kOverrides) {
        const __u32 bit = 1u << (cap % 32);
        if (on)
            caps.data[cap / 32].effective |= bit;
        else
            caps.data[cap / 32].effective &= ~bit;
    }
}

} // namespace

FilePermissionsApply::FilePermissionsApply()
{
    if (::geteuid() != 0) {
        m_active = true; // permissions apply already
        return;
    }
    Caps caps;
    if (!Get(caps)) {
        m_reason = QStringLiteral("capget: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    SetEffective(caps, false);
    if (!Set(caps)) {
        m_reason = QStringLiteral("capset: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_active = true;
    m_restore = true;
}

FilePermissionsApply::~FilePermissionsApply()
{
    if (!m_restore)
        return;
    Caps caps;
    if (Get(caps)) {
        SetEffective(caps, true);
        Set(caps);
    }
}

bool DropFileOverridesForGood()
{
    if (::geteuid() != 0)
        return true;
    for (const unsigned cap : kOverrides) {
        if (::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0)
            return false;
    }
    return true;
}
