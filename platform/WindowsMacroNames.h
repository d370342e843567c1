// <windows.h> maps these names to their A/W variants with macros, but they are
// also method names of the Windows layer. Included wherever the layer is
// declared or implemented, so that every file sees the methods under their
// own names whichever order it includes windows.h in. Deliberately without
// include guard: each inclusion after windows.h has to undo the macros again.
#undef GetFileAttributes
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
