// SPDX-FileCopyrightText: 2026 Ravolt
// SPDX-License-Identifier: MIT
// The author's addresses and the link targets built from them, kept in one place.
// The resource script takes the two addresses as the texts of the About box links.
#ifndef ZEFMOR_AUTHOR_H
#define ZEFMOR_AUTHOR_H

#define AUTHOR_WEB           "http://www.ravolt.example/zefmor/"
#define AUTHOR_MAIL          "zefmor@ravolt.example"

#ifndef RC_INVOKED
#include "version.h"

// Targets of the About box links.
#define ABOUT_WEB_TARGET     L"" AUTHOR_WEB
#define ABOUT_MAIL_TARGET    L"mailto:" AUTHOR_MAIL "?subject=Zefmor&"

// The three parts of the bug-report mail link, joined in this order.
#define BUG_MAIL_TO          L"mailto:" AUTHOR_MAIL "?"
#define BUG_MAIL_SUBJECT     L"subject=Hlášení chyby - Zefmor v. " ZEFMOR_VERSION_LONG "&"
#define BUG_MAIL_BODY        L"body=Zde popište problém:"
#endif

#endif
