// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Swaps one of the test program's imported system functions for a stand-in, to make it fail.
#ifndef ZEFMOR_TESTS_IMPORT_HOOK_H
#define ZEFMOR_TESTS_IMPORT_HOOK_H

#include <windows.h>

// Points this executable's import slot that holds `real` at a stand-in while the object lives;
// the program's code is linked into the test, so its calls go through the same slot.
class ImportHook {
public:
    ImportHook(void* real, void* standIn) : real_(real)
    {
        BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(NULL));
        const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_IMPORT_DESCRIPTOR* imp = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
            base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; imp->Name && !slot_; ++imp) {
            for (void** slot = reinterpret_cast<void**>(base + imp->FirstThunk); *slot && !slot_; ++slot) {
                if (*slot == real)
                    slot_ = slot;
            }
        }
        if (slot_)
            Set(standIn);
    }
    ~ImportHook()
    {
        if (slot_)
            Set(real_);
    }
    bool Hooked() const { return slot_ != NULL; }

private:
    void Set(void* target)
    {
        DWORD protect;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protect);
        *slot_ = target;
        VirtualProtect(slot_, sizeof *slot_, protect, &protect);
    }
    void* real_;
    void** slot_ = NULL;
};

#endif
