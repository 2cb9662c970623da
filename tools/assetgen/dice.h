#pragma once

// The pictures are kept in the repository, so regenerating them must give the same bytes on
// every machine. std::mt19937 is fully defined by the standard but the std distributions are
// not, so the draws are taken straight from the engine.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string_view>

namespace beltrix::assetgen {

class Dice {
public:
    explicit Dice(std::uint32_t seed) : engine_(seed) {}

    // Seeds from a name, so that adding or reordering pictures leaves the others unchanged.
    static Dice forName(std::string_view name) {
        std::uint32_t hash = 2166136261u;
        for (const char c : name) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        return Dice(hash);
    }

    // 0 to n - 1; the slight bias of the remainder is of no account for made-up lists.
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }

    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) {
        return items[static_cast<std::size_t>(below(static_cast<int>(N)))];
    }

private:
    std::mt19937 engine_;
};

} // namespace beltrix::assetgen
