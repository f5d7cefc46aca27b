#include "support/Privileges.h"

#include <cerrno>
#include <cstring>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned kOverrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH};

// Puts the two capabilities in or out of the thread's effective set; the error text, or empty.
QString SetEffective(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return QStringLiteral("capget: ") + QString::fromLocal8Bit(std::strerror(errno));
    for (const unsigned cap : kOverrides) {
        const __u32 bit = 1u << (cap % 32);
        data[cap / 32].effective = on ? data[cap / 32].effective | bit : data[cap / 32].effective & ~bit;
    }
    if (::syscall(SYS_capset, &header, data) != 0)
        return QStringLiteral("capset: ") + QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

} // namespace

FilePermissionsApply::FilePermissionsApply()
{
    if (::geteuid() != 0) {
        m_active = true; // permissions apply already
        return;
    }
    m_reason = SetEffective(false);
    m_active = m_restore = m_reason.isEmpty();
}

FilePermissionsApply::~FilePermissionsApply()
{
    if (m_restore)
        SetEffective(true);
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
