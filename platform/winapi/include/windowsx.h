/* Message-cracking helpers of the Win32 SDK's windowsx.h that this program uses. */
#pragma once

#include "windef.h"

#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
