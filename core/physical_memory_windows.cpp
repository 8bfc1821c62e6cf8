#include "core/physical_memory.h"

#include <windows.h>

namespace hcalc {

std::optional<std::uint64_t> PhysicalMemoryBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!::GlobalMemoryStatusEx(&status) || status.ullTotalPhys == 0) {
        return std::nullopt;
    }
    return status.ullTotalPhys;
}

}  // namespace hcalc
