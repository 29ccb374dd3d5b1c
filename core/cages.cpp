// The flood fill that splits a board's colour codes into cages.
#include "core/cages.h"

namespace core {

CageMap map_cages(std::span<const std::int32_t, cell_count + 1> codes) {
    CageMap map;
    std::array<bool, cell_count + 1> seen{};
    std::array<int, cell_count> stack{};
    for (int start = 1; start <= cell_count; ++start) {
        if (seen[start]) {
            continue;
        }
        const int cage = map.count++;
        int depth = 0;
        stack[depth++] = start;
        seen[start] = true;
        while (depth > 0) {
            const int k = stack[--depth];
            map.cage_of[k] = cage;
            for (const int n : neighbours_of(k)) {
                if (!seen[n] && codes[n] == codes[start]) {
                    seen[n] = true;
                    stack[depth++] = n;
                }
            }
        }
    }
    return map;
}

} // namespace core
