/* The Win32 subset this program is written against, for systems without Win32. */
#pragma once

#include "windef.h"
#include "winbase.h"
#include "wingdi.h"
#include "winuser.h"
