// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Every text the program shows or hands to the system, in one place.
//
// Text policy: everything visible goes through the wide-character API and the sources are UTF-8
// (the resource script says so with its code_page pragma), so the Czech texts show correctly
// whatever the system's ANSI code page is. Bytes in Windows-1250 appear only where a byte format
// asks for them: the password symbols 153-187 are Windows-1250 codes converted with that code page
// explicitly (ToPaneText), the saved password file is written in Windows-1250, and the stored font
// stays the 60-byte LOGFONTA record.
#ifndef ZEFMOR_TEXTS_H
#define ZEFMOR_TEXTS_H

#include <windows.h>

// Application name: main window class and caption, message box caption.
extern const wchar_t _AppName[];

#define TXT_POCET_HESEL      L"Počet hesel:"
#define TXT_POCET_ZNAKU      L"Počet znaků:"
#define TXT_NASTAVENI        L"Nastavení"
#define TXT_VPISMO           L"ABC..."
#define TXT_MPISMO           L"abc..."
#define TXT_CISLA            L"123..."
#define TXT_SYMBOLY          L"@%#..."
#define TXT_GENERUJ          L"Generuj"
#define TXT_VYMAZAT          L"Vymazat"

#define TXT_CHYBA_ZAPISU     L"Chyba zápisu do souboru"
// Save dialog filter: pairs of description and pattern, the list ended by an extra zero.
#define TXT_FILTR_SOUBORU    L"Textové soubory (*.txt)\0*.txt\0Všechny soubory (*.*)\0*.*\0"
#define TXT_SOUBOR_JMENO     L"Zefmor"
#define TXT_SOUBOR_PRIPONA   L"txt"

// Registry location of the settings.
#define TXT_KLIC_NASTAVENI   L"Software\\Ravolt\\Zefmor"

// Code page of the password symbols and of the saved file.
#define ZEFMOR_CODE_PAGE     1250

#endif
