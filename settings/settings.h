// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The output pane's font and colours, and the settings kept in the registry between runs.
#ifndef ZEFMOR_SETTINGS_H
#define ZEFMOR_SETTINGS_H

#include <windows.h>

void ChooseTextFont();
void ChooseBackColor();
void ResetAppearance();

void LoadSettings();
void SaveSettings();

// Repaints the whole pane and erases its background at once.
void RepaintPane();

// The only places that replace the program's own font and brush; each deletes the one it replaces.
// The font is made from lf, given to the pane and shown; the brush is of the background colour.
void SetPaneFont(const LOGFONTA* lf, BOOL redraw);
void SetPaneBackground(COLORREF colour);

// The description of the font the pane shows, the stock GUI font's when it has none of its own.
void GetPaneFont(LOGFONTA* lf);

#endif
