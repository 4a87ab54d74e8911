#pragma once
// Paths for the platform's wide functions at any depth. The program carries paths as text in
// the active code page; the plain path passes the platform's old length limit (260 characters
// for a file, 248 for a folder to be made) deep in a tree, beyond which only the "\\?\" form
// reaches it, whatever the system's long-path setting says.
#include <windows.h>

#include <string>

// The path in UTF-16 for a wide call. A full path long enough to meet the limit (with room for
// a file name of a few characters added to it) is given the "\\?\" prefix, a network path
// "\\server\share\..." the "\\?\UNC\" one; since the platform then takes the path literally,
// it is first made canonical ("." and ".." resolved, "/" turned into "\"). Anything else is
// only converted.
std::wstring WidePath(const std::string& path);

// The system's own text for an error code, on one line ("Access is denied."), in the active
// code page; "error <code>" when the system has none.
std::string SystemErrorText(DWORD code);
