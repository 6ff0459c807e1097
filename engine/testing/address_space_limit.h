#pragma once
// Lowers the process's address-space limit for one test, so that a test of a
// memory fault fails with std::bad_alloc instead of exhausting the machine.
// Not available on Windows nor under AddressSanitizer (which reserves terabytes
// of address space up front): ok() is then false and the test skips.

#include <cstdint>
#include <fstream>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAVLO_NO_ADDRESS_LIMIT 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(_WIN32)
#define KAVLO_NO_ADDRESS_LIMIT 1
#endif

#ifndef KAVLO_NO_ADDRESS_LIMIT
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace kavlo::testing {

class AddressSpaceLimit {
public:
    /// Allows `extraBytes` beyond what the process uses now.
    explicit AddressSpaceLimit(std::uint64_t extraBytes) {
#ifndef KAVLO_NO_ADDRESS_LIMIT
        if (getrlimit(RLIMIT_AS, &saved_) != 0) return;
        std::ifstream statm("/proc/self/statm");
        std::uint64_t pages = 0;
        statm >> pages;
        if (pages == 0) return;
        rlimit lowered = saved_;
        lowered.rlim_cur = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)) + extraBytes;
        ok_ = setrlimit(RLIMIT_AS, &lowered) == 0;
#else
        (void)extraBytes;
#endif
    }
    ~AddressSpaceLimit() {
#ifndef KAVLO_NO_ADDRESS_LIMIT
        if (ok_) setrlimit(RLIMIT_AS, &saved_);
#endif
    }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    bool ok() const { return ok_; }

    /// False where no limit can be set (the test then skips before building its input).
    static constexpr bool Supported() {
#ifndef KAVLO_NO_ADDRESS_LIMIT
        return true;
#else
        return false;
#endif
    }

private:
#ifndef KAVLO_NO_ADDRESS_LIMIT
    rlimit saved_{};
#endif
    bool ok_ = false;
};

}  // namespace kavlo::testing
