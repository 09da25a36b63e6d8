#pragma once
// The VST 3 module entry: InitDll/ExitDll keep the module reference count and run the
// module's start and end hooks on its outermost transitions.

extern "C" {
bool InitDll();
bool ExitDll();
}

// Hooks of the module, defined by the product.
bool InitModule();
bool DeinitModule();
