// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Random draws from the operating system's cryptographic generator.
#include <windows.h>
#include <bcrypt.h>

#include "generator.h"

RandomSource g_pfnNahoda = SystemRandom;

namespace {

// Random words fetched in blocks, so a run needs few system calls.
UINT32 g_awNahodne[64];
unsigned g_nPouzito = ARRAYSIZE(g_awNahodne);

bool NextWord(UINT32* word)
{
    if (g_nPouzito == ARRAYSIZE(g_awNahodne)) {
        if (!BCRYPT_SUCCESS(BCryptGenRandom(NULL, reinterpret_cast<PUCHAR>(g_awNahodne),
                                            sizeof g_awNahodne, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
            return false;
        g_nPouzito = 0;
    }
    *word = g_awNahodne[g_nPouzito];
    g_awNahodne[g_nPouzito++] = 0;
    return true;
}

}  // namespace

bool SystemRandom(unsigned n, unsigned* draw)
{
    // Words below 2^32 mod n are rejected: the rest span a whole multiple of n, so every
    // remainder is equally likely.
    const UINT32 reject = (0u - static_cast<UINT32>(n)) % n;
    UINT32 word;
    do {
        if (!NextWord(&word))
            return false;
    } while (word < reject);
    *draw = word % n;
    return true;
}
