// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Draws one password character from the ticked classes.
#include "app_state.h"
#include "generator.h"

int GenerateChar()
{
    // The class comes first, uniformly among the ticked ones whatever their sizes.
    const int* const flags[] = {&g_bVPismo, &g_bMPismo, &g_bCisla, &g_bSymboly};
    unsigned trida;
    do {
        if (!g_pfnNahoda(4, &trida))
            return 0;
    } while (!*flags[trida]);

    unsigned draw;
    switch (trida) {
    case 0:
        return g_pfnNahoda(26, &draw) ? 'A' + static_cast<int>(draw) : 0;
    case 1:
        return g_pfnNahoda(26, &draw) ? 'a' + static_cast<int>(draw) : 0;
    case 2:
        return g_pfnNahoda(10, &draw) ? '0' + static_cast<int>(draw) : 0;
    }

    // Symbols: three sub-ranges, each taken with probability 1/3 whatever its size. The last one
    // is Windows-1250 only, from the trade mark sign 0x99 on.
    static const struct { int first, count; } kSymboly[] = {{'!', 15}, {':', 7}, {0x99, 35}};
    unsigned sub;
    if (!g_pfnNahoda(3, &sub) || !g_pfnNahoda(kSymboly[sub].count, &draw))
        return 0;
    return kSymboly[sub].first + static_cast<int>(draw);
}
