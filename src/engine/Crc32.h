#pragma once

#include <cstddef>
#include <cstdint>

namespace jt::engine {

// CRC-32 (the zlib polynomial) of size bytes, continuing from crc: a torn or stale
// journal or undo file fails its checksum and is ignored.
std::uint32_t crc32(const char* data, std::size_t size, std::uint32_t crc = 0);

} // namespace jt::engine
