#include "Network.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <ifaddrs.h>
#include <net/if.h>
#endif

namespace pipeloop
{

bool NetworkPresent()
{
#ifdef Q_OS_WIN
    // The system metric the original program asked: bit 0 set when a network is present.
    return (GetSystemMetrics(SM_NETWORK) & 1) != 0;
#else
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return false;
    bool present = false;
    for (const ifaddrs* entry = interfaces; entry && !present; entry = entry->ifa_next) {
        const unsigned flags = entry->ifa_flags;
        present = (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    freeifaddrs(interfaces);
    return present;
#endif
}

} // namespace pipeloop
