// The generic-text names of the ANSI world, where text is char (UTF-8 here). The real
// <windows.h> declares the same typedefs; repeating an identical typedef is allowed.
#pragma once

#include <windows.h>

typedef char TCHAR;
typedef LPSTR LPTSTR;
typedef LPCSTR LPCTSTR;

#ifndef _T
#define _T(x) x
#endif
#ifndef TEXT
#define TEXT(x) x
#endif
