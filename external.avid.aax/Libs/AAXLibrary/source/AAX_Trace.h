#pragma once
// The two diagnostic channels to the host. Both go through the process-wide host services
// and do nothing, returning 0, outside ACFStartup ... ACFShutdown. Any thread.

#include "AAX.h"

class AAX_VHostServices;

// Installed by ACFStartup, removed by ACFShutdown; null when there is none.
extern AAX_VHostServices* gHostServices;

// Formats by printf rules into 512 bytes (longer texts are cut) and traces it.
AAX_Result AAX_Trace(int32_t priority, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

AAX_Result AAX_HandleAssertFailure(const char* file, int32_t line, const char* note, int32_t flags);
