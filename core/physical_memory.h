#pragma once

#include <cstdint>
#include <optional>

namespace hcalc {

// The machine's physical memory, bytes, as the system reports it; nothing
// when the system does not tell. One implementation per platform
// (physical_memory_posix.cpp, physical_memory_windows.cpp).
std::optional<std::uint64_t> PhysicalMemoryBytes();

}  // namespace hcalc
