#include "AAX_Trace.h"

#include "AAX_VHostServices.h"

#include <cstdarg>
#include <cstdio>

AAX_VHostServices* gHostServices = nullptr;

namespace {
constexpr size_t kTraceBufferSize = 512;
}

AAX_Result AAX_Trace(int32_t priority, const char* format, ...) {
    if (!gHostServices)
        return AAX_SUCCESS;
    char text[kTraceBufferSize] = {};
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    text[kTraceBufferSize - 1] = 0;
    return gHostServices->Trace(priority, text);
}

AAX_Result AAX_HandleAssertFailure(const char* file, int32_t line, const char* note,
                                   int32_t flags) {
    if (!gHostServices)
        return AAX_SUCCESS;
    return gHostServices->HandleAssertFailure(file, line, note, flags);
}
