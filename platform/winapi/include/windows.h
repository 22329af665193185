/* The Win32 subset this program is written against, for systems without Win32. */
#pragma once

/* Each part needs the ones before it, so the order stays as written. */
/* clang-format off */
#include "windef.h"
#include "winbase.h"
#include "wingdi.h"
#include "winuser.h"
/* clang-format on */
