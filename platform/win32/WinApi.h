// <windows.h> for the Windows side, without the A/W macros whose plain names
// are also methods of the Windows layer (GetFileAttributes, DeleteFile, ...):
// with the macros, a file that includes windows.h before platform/Platform.h
// would see those methods under other names than the rest of the program.
#pragma once

#include <windows.h>

#undef GetFileAttributes
#undef SetFileAttributes
#undef DeleteFile
#undef RemoveDirectory
#undef GetWindowsDirectory
#undef GetSystemDirectory
#undef GetUserName
#undef GetEnvironmentVariable
#undef ExpandEnvironmentStrings
#undef GetPrivateProfileString
#undef GetDriveType
#undef FindWindow
#undef RegisterWindowMessage
#undef PostMessage
