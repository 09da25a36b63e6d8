#pragma once
// Fitting the host's windows around an editor whose resize request the host turned down.

namespace SorvLib {

// Sizes the editor's native window to width × height and, walking up its parents, each
// host window that frames it, by the borders between them. Main thread.
void fitHostWindows(void* window, int width, int height);

} // namespace SorvLib
