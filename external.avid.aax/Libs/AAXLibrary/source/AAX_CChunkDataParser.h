#pragma once
// The library's own control-state format: a typed list of name/value pairs, serialised into
// the data area of a host chunk record.

#include "AAX.h"
#include "AAX_CString.h"
#include "AAX_IEffectParameters.h"

#include <vector>

class AAX_CChunkDataParser {
public:
    enum Type : int32_t { kFloat = 1, kInt32 = 2, kDouble = 3, kInt16 = 4, kString = 5 };
    struct DataValue {
        int32_t mType;
        AAX_CString mName;
        int64_t mValue; // the float's bits, the integer sign-extended, or the double's bits
        AAX_CString mString;
    };

    void AddInt32(const char* name, int32_t value);
    void AddDouble(const char* name, double value);
    void AddString(const char* name, const char* value);
    bool GetInt32(const char* name, int32_t* value);
    bool GetDouble(const char* name, double* value);
    bool GetString(const char* name, AAX_CString* value);
    int32_t FindName(const char* name);
    int32_t GetChunkDataSize() const;
    // Writes the list into the record's data area, which must hold GetChunkDataSize bytes.
    AAX_Result GetChunkData(AAX_SPlugInChunk* chunk) const;
    // Reads a record of size bytes; malformed or cut data ends the list where it stops making
    // sense. dataSize is the number of data bytes the caller actually has.
    void LoadChunk(const AAX_SPlugInChunk* chunk, uint32_t dataSize);
    void Clear();
    void StartRebuild();
    int32_t ChunkVersion() const { return mChunkVersion; }
    const std::vector<DataValue>& Values() const { return mValues; }

private:
    int32_t mLastFoundIndex = -1;
    int32_t mChunkVersion = -1;
    std::vector<DataValue> mValues;
};
