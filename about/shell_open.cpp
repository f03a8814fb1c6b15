// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The one way out to the shell, so the targets handed over can be observed.
#include <windows.h>
#include <shellapi.h>

#include "about.h"

ShellExecuteFunc g_pfnShellExecute = ShellExecuteW;
