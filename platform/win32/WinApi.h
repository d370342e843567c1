// <windows.h> for the Windows side, without the A/W macros whose plain names
// are also methods of the Windows layer (GetFileAttributes, GetUserName, ...):
// platform/Platform.h undoes them as well, so a file may include windows.h
// before it; a file that needs windows.h after it takes this header instead.
#pragma once

#include <windows.h>

#include "platform/WindowsMacroNames.h"
