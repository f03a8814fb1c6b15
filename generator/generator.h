// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Password generation: the random source, drawing characters, reading the inputs, the run, saving
// and copying.
#ifndef ZEFMOR_GENERATOR_H
#define ZEFMOR_GENERATOR_H

#include <windows.h>

// Top of each count's range; an out-of-range count is put back to the top, never the bottom.
const int kMaxPocetHesel = 100;
const int kMaxPocetZnaku = 20;

// A source of random draws: stores a uniform draw from 0 to n-1 (n >= 1) in *draw, or returns
// false when no randomness can be had.
typedef bool (*RandomSource)(unsigned n, unsigned* draw);

// The operating system's cryptographic generator, without modulo bias.
bool SystemRandom(unsigned n, unsigned* draw);

// The source GenerateChar draws from; the system's unless a test scripts it.
extern RandomSource g_pfnNahoda;

// One Windows-1250 character code from a ticked class, or 0 when the random source failed.
// At least one class flag must be set.
int GenerateChar();

void ReadControls();
void ValidateInputs();

void OnGenerate();
void OnClear();
void GeneratePasswords();
void AppendOutput(const wchar_t* text);

void SaveToFile();

// Makes every copy and cut from the output pane put the selection on the clipboard marked to stay
// out of clipboard history and the cloud clipboard; a cut removes only what reached the clipboard.
bool MarkPaneCopies(HWND pane);

// Frees a buffer of the process heap that held passwords, wiped first so that no copy stays
// behind in freed memory. NULL is let through.
inline void FreeSecret(void* buffer, SIZE_T bytes)
{
    if (!buffer)
        return;
    SecureZeroMemory(buffer, bytes);
    HeapFree(GetProcessHeap(), 0, buffer);
}

// Room for any name TemporaryNameBeside makes for a path the save dialog returns.
const DWORD kTemporaryNameSize = MAX_PATH + 64;

// Names a new file in the folder of `path`, a name of this process no earlier call gave; false
// when it does not fit in `capacity` characters.
bool TemporaryNameBeside(const wchar_t* path, wchar_t* temporary, DWORD capacity);

#endif
