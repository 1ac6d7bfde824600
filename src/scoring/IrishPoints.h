#pragma once

#include <array>
#include <cstdint>

namespace jt::scoring {

// Places that earn an entry in the points table; later places score nothing but still
// count in the size of a tied group.
inline constexpr int kPointsPlaces = 51;

// Irish points by place, entry 0 for first place: 100, 75, 65 ... 41 for eleventh,
// then 51 minus the place down to 1 for fiftieth, and 0 for fifty-first.
inline constexpr std::array<std::int32_t, kPointsPlaces> IrishPoints = [] {
    std::array<std::int32_t, kPointsPlaces> table{100, 75, 65, 60, 56, 53, 50, 47, 45, 43, 41};
    for (int place = 12; place <= 50; ++place)
        table[std::size_t(place - 1)] = 51 - place;
    table[50] = 0;
    return table;
}();

} // namespace jt::scoring
