#pragma once

#include <cstddef>
#include <cstdint>

namespace jt::engine {

// The engine's own files (journal, undo file) store their numbers little-endian,
// whatever the machine.
template <typename T> void putLE(char* p, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = char((std::uint64_t(value) >> (8 * i)) & 0xFF);
}

template <typename T> T getLE(const char* p) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v |= std::uint64_t(std::uint8_t(p[i])) << (8 * i);
    return T(v);
}

} // namespace jt::engine
