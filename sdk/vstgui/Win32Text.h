#pragma once
// What the toolkit's Win32 files share: the module they are linked into and UTF-8 text as the
// 16-bit strings Windows takes.

#include <windows.h>

#include <string>

namespace VSTGUI {

// The module whose code this is (the plug-in, not the host's program).
HMODULE win32ThisModule();
// UTF-8 text as UTF-16; empty for text that does not convert.
std::wstring win32Wide(const std::string& text);

} // namespace VSTGUI
