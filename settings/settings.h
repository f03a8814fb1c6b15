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

#endif
