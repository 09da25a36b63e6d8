#pragma once
// Types, result codes and property numbers shared by the library, the wrapper and the host.

#include <cstddef>
#include <cstdint>

typedef int32_t AAX_Result;
// A four-character type, manufacturer, product or meter id.
typedef uint32_t AAX_CTypeID;
// A parameter identifier: a zero-terminated byte string of at most 31 characters.
typedef const char* AAX_CParamID;
// A property value is one machine word: a 32-bit number in the 32-bit module, and wide
// enough for a pointer property in every build, so values and pointers share one host call.
typedef intptr_t AAX_CPropertyValue;
// The address of a native processing procedure, handed to the host as a pointer property.
typedef void* AAX_CProcessProc;
// A field of an algorithm context: the context is an array of pointer slots, and a field's
// index is its slot number.
typedef uint32_t AAX_CFieldIndex;
#define AAX_FIELD_INDEX(Context, field)                                                            \
    static_cast<AAX_CFieldIndex>(offsetof(Context, field) / sizeof(void*))
// A sample rate as the host's controller gives it.
typedef float AAX_CSampleRate;
// How a data-in port hands posted packets to the algorithm.
enum AAX_EDataInPortType : int32_t {
    AAX_eDataInPortType_Buffered = 0,
    AAX_eDataInPortType_Unbuffered = 1,
    AAX_eDataInPortType_Incremental = 2,
};
// A size or position in the host's window: vertical first.
struct AAX_Point {
    float vert;
    float horz;
};
// What an effect-wide procedure registered with the effect descriptor is for.
typedef const char* AAX_CProcPtrID;
// The effect's object-creation procedures: IACFUnknown* (*)(), a new object with one reference
// for the host, or null.
#define kAAX_ProcPtrID_Create_EffectParameters "AAX_ProcPtrID_Create_EffectParameters"
#define kAAX_ProcPtrID_Create_EffectGUI "AAX_ProcPtrID_Create_EffectGUI"

// Every result code with its name.
#define AAX_RESULT_CODES(X)                                                                        \
    X(AAX_SUCCESS, 0)                                                                              \
    X(AAX_ERROR_INVALID_PARAMETER_ID, -20001)                                                      \
    X(AAX_ERROR_INVALID_STRING_CONVERSION, -20002)                                                 \
    X(AAX_ERROR_INVALID_METER_INDEX, -20003)                                                       \
    X(AAX_ERROR_NULL_OBJECT, -20004)                                                               \
    X(AAX_ERROR_OLDER_VERSION, -20005)                                                             \
    X(AAX_ERROR_INVALID_CHUNK_INDEX, -20006)                                                       \
    X(AAX_ERROR_INVALID_CHUNK_ID, -20007)                                                          \
    X(AAX_ERROR_INCORRECT_CHUNK_SIZE, -20008)                                                      \
    X(AAX_ERROR_UNIMPLEMENTED, -20009)                                                             \
    X(AAX_ERROR_INVALID_PARAMETER_INDEX, -20010)                                                   \
    X(AAX_ERROR_NOT_INITIALIZED, -20011)                                                           \
    X(AAX_ERROR_ACF_ERROR, -20012)                                                                 \
    X(AAX_ERROR_INVALID_METER_TYPE, -20013)                                                        \
    X(AAX_ERROR_CONTEXT_ALREADY_HAS_METERS, -20014)                                                \
    X(AAX_ERROR_NULL_COMPONENT, -20015)                                                            \
    X(AAX_ERROR_PORT_ID_OUT_OF_RANGE, -20016)                                                      \
    X(AAX_ERROR_FIELD_TYPE_DOES_NOT_SUPPORT_DIRECT_ACCESS, -20017)                                 \
    X(AAX_ERROR_DIRECT_ACCESS_OUT_OF_BOUNDS, -20018)                                               \
    X(AAX_ERROR_FIFO_FULL, -20019)                                                                 \
    X(AAX_ERROR_INITIALIZING_PACKET_STREAM_THREAD, -20020)                                         \
    X(AAX_ERROR_POST_PACKET_FAILED, -20021)                                                        \
    X(AAX_RESULT_PACKET_STREAM_NOT_EMPTY, -20022)                                                  \
    X(AAX_RESULT_ADD_FIELD_UNSUPPORTED_FIELD_TYPE, -20023)                                         \
    X(AAX_ERROR_MIXER_THREAD_FALLING_BEHIND, -20024)                                               \
    X(AAX_ERROR_INVALID_FIELD_INDEX, -20025)                                                       \
    X(AAX_ERROR_MALFORMED_CHUNK, -20026)                                                           \
    X(AAX_ERROR_TOD_BEHIND, -20027)                                                                \
    X(AAX_RESULT_NEW_PACKET_POSTED, -20028)                                                        \
    X(AAX_ERROR_PLUGIN_NOT_AUTHORIZED, -20029)                                                     \
    X(AAX_ERROR_PLUGIN_NULL_PARAMETER, -20030)                                                     \
    X(AAX_ERROR_NOTIFICATION_FAILED, -20031)                                                       \
    X(AAX_ERROR_INVALID_VIEW_SIZE, -20032)                                                         \
    X(AAX_ERROR_SIGNED_INT_OVERFLOW, -20033)                                                       \
    X(AAX_ERROR_NO_COMPONENTS, -20034)                                                             \
    X(AAX_ERROR_DUPLICATE_EFFECT_ID, -20035)                                                       \
    X(AAX_ERROR_DUPLICATE_TYPE_ID, -20036)                                                         \
    X(AAX_ERROR_EMPTY_EFFECT_NAME, -20037)                                                         \
    X(AAX_ERROR_UNKNOWN_PLUGIN, -20038)                                                            \
    X(AAX_ERROR_PROPERTY_UNDEFINED, -20039)                                                        \
    X(AAX_ERROR_INVALID_PATH, -20040)                                                              \
    X(AAX_ERROR_UNKNOWN_ID, -20041)                                                                \
    X(AAX_ERROR_UNKNOWN_EXCEPTION, -20042)                                                         \
    X(AAX_ERROR_INVALID_ARGUMENT, -20043)                                                          \
    X(AAX_ERROR_NULL_ARGUMENT, -20044)                                                             \
    X(AAX_ERROR_INVALID_INTERNAL_DATA, -20045)                                                     \
    X(AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW, -20046)

enum AAX_EError : int32_t {
#define AAX_RESULT_ENUMERATOR(name, value) name = value,
    AAX_RESULT_CODES(AAX_RESULT_ENUMERATOR)
#undef AAX_RESULT_ENUMERATOR
};

// Trace priorities the library uses.
enum AAX_ETracePriority : int32_t {
    AAX_eTracePriority_CheckedResult = 0x04000000, // a failed checked result
    AAX_eTracePriority_Registration = 0x08000000,  // registration catches, missing procedures
};

// Property numbers. Those the library itself reads have fixed numbers; the ones only the
// effect description sets (ids, meter kind) are numbered here, below the library's range.
enum AAX_EProperty : int32_t {
    AAX_eProperty_ManufacturerID = 1,
    AAX_eProperty_ProductID = 2,
    AAX_eProperty_PlugInID_Native = 3,
    AAX_eProperty_PlugInID_AudioSuite = 4,
    AAX_eProperty_Meter_Type = 5,
    AAX_eProperty_Meter_Orientation = 6,
    AAX_eProperty_MinProperty = 10, // first number a property map is copied from
    AAX_eProperty_NativeProcessProcs = 13,
    AAX_eProperty_NativeProcessProcsAlt = 14,
    AAX_eProperty_TIProcessProcs = 15,
    AAX_eProperty_NativeProcessProc = 36,
    AAX_eProperty_NativeInstanceInitProc = 37,
    AAX_eProperty_NativeBackgroundProc = 38,
    AAX_eProperty_TIDLLFileName = 39,
    AAX_eProperty_TIProcessProc = 40,
    AAX_eProperty_TIInstanceInitProc = 41,
    AAX_eProperty_TIBackgroundProc = 42,
    AAX_eProperty_InputStemFormat = 51,
    AAX_eProperty_OutputStemFormat = 52,
    AAX_eProperty_NativeAudioBufferLength = 54,
    AAX_eProperty_MaxProperty = 401, // last number a property map is copied from
};

// Channel formats: a format index in the upper 16 bits, the channel count in the lower 16.
enum AAX_EStemFormat : int32_t {
    AAX_eStemFormat_Mono = (0 << 16) | 1,
    AAX_eStemFormat_Stereo = (1 << 16) | 2,
    AAX_eStemFormat_None = static_cast<int32_t>(0xFFFF0000u),
    AAX_eStemFormat_Unsupported = static_cast<int32_t>(0xFF9C0000u), // a count with no format
};

// The effect's categories as a bit set; this product is a reverb.
enum AAX_EPlugInCategory : uint32_t {
    AAX_ePlugInCategory_None = 0,
    AAX_ePlugInCategory_Reverb = 0x00000008,
};

// Kinds of resource an effect names.
enum AAX_EResourceType : int32_t {
    AAX_eResourceType_PageTable = 0,
};
