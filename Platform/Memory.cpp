#include "Platform/Memory.h"

#include <new>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdio>

namespace Memory {

namespace {
std::optional<qint64> failing;

// The address space the process takes now, from the kernel's own count.
qint64 addressSpaceInUse() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    long long pages = 0;
    const int got = std::fscanf(f, "%lld", &pages);
    std::fclose(f);
    return got == 1 ? pages * qint64(::sysconf(_SC_PAGESIZE)) : 0;
}
} // namespace

bool mayHold(qint64 bytes) {
    if (bytes <= 0) return true;
    if (failing && bytes > *failing) return false;
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        bytes > qint64(limit.rlim_cur) - addressSpaceInUse())
        return false;
    struct sysinfo info {};
    if (::sysinfo(&info) == 0) {
        const qint64 total = (qint64(info.totalram) + qint64(info.totalswap)) * qint64(info.mem_unit);
        if (total > 0 && bytes > total) return false;
    }
    return true;
}

void reserve(qint64 bytes) {
    if (!mayHold(bytes)) throw std::bad_alloc();
}

qint64 textCost(qint64 characters) {
    constexpr qint64 copies = 3, layoutPerCharacter = 4;
    return characters * (copies * qint64(sizeof(char16_t)) + layoutPerCharacter);
}

void failAbove(std::optional<qint64> bytes) { failing = bytes; }

} // namespace Memory
