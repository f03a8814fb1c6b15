// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// Resource, command and control identifiers shared by the resource script and the sources.
#ifndef ZEFMOR_RESOURCE_H
#define ZEFMOR_RESOURCE_H

#define IDR_MAIN_MENU                   103
#define IDI_ZEFMOR                      104
#define IDD_ABOUT                       120
#define IDR_LINK_CURSOR                 126
#define IDI_ZEFMOR_256                  134

// Main window controls.
#define IDC_UPPOCETHESEL                1
#define IDC_UPPOCETZNAKU                2
#define IDC_VPISMO                      781
#define IDC_MPISMO                      782
#define IDC_CISLA                       783
#define IDC_SYMBOLY                     784
#define IDC_POCETZNAKU                  785
#define IDC_POCETHESEL                  786

// About box controls.
#define IDC_WEB_LINK                    1013
#define IDC_MAIL_LINK                   1014

// Menu commands; the two push buttons share theirs with the "Akce" items.
#define ID_SOUBOR_KONEC                 2
#define ID_NAPOVEDA_OPROGRAMU           40018
#define ID_SOUBOR_ULOZIT                40019
#define ID_AKCE_GENERUJ                 40021
#define ID_AKCE_VYMAZ                   40022
#define ID_NASTAVENI_PISMO              40024
#define ID_NASTAVENI_POZADI             40025
#define ID_NASTAVENI_STANDARDNIHODNOTY  40027
#define ID_NAPOVEDA_HLASENICHYBY        40028

#ifndef IDC_STATIC
#define IDC_STATIC                      (-1)
#endif

#endif
