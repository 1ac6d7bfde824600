#include "Crc32.h"

#include <array>

namespace jt::engine {

std::uint32_t crc32(const char* data, std::size_t size, std::uint32_t crc) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ std::uint8_t(data[i])) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

} // namespace jt::engine
