#pragma once
// Two labels for the two values, with shorter label pairs for narrow displays.

#include "AAX_CString.h"
#include "AAX_IDisplayDelegate.h"

#include <algorithm>
#include <vector>

template <typename T> class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T> {
public:
    AAX_CBinaryDisplayDelegate(const char* falseText, const char* trueText)
        : mFalse(falseText), mTrue(trueText),
          mMaxLength(std::max(mFalse.Length(), mTrue.Length())) {}

    AAX_CBinaryDisplayDelegate* Clone() const override {
        return new AAX_CBinaryDisplayDelegate(*this);
    }
    bool ValueToString(T value, AAX_CString* text) const override {
        *text = value ? mTrue : mFalse;
        return true;
    }
    bool ValueToString(T value, int32_t maxLength, AAX_CString* text) const override {
        const uint32_t length = maxLength < 0 ? 0 : static_cast<uint32_t>(maxLength);
        if (mShortened.empty() || length >= mMaxLength)
            return ValueToString(value, text);
        const Pair* chosen = &mShortened.front();
        for (auto pair = mShortened.rbegin(); pair != mShortened.rend(); ++pair)
            if (pair->maxLength <= int64_t(length)) {
                chosen = &*pair;
                break;
            }
        *text = value ? chosen->trueText : chosen->falseText;
        return true;
    }
    // Only the exact labels parse, letter case included.
    bool StringToValue(const AAX_CString& text, T* value) const override {
        if (text == mTrue) {
            *value = true;
            return true;
        }
        *value = false;
        return text == mFalse;
    }
    void AddShortenedStrings(const char* falseText, const char* trueText, int32_t maxLength) {
        mShortened.push_back({maxLength, AAX_CString(falseText), AAX_CString(trueText)});
        std::stable_sort(mShortened.begin(), mShortened.end(),
                         [](const Pair& a, const Pair& b) { return a.maxLength < b.maxLength; });
    }

private:
    struct Pair {
        int32_t maxLength;
        AAX_CString falseText;
        AAX_CString trueText;
    };
    AAX_CString mFalse;
    AAX_CString mTrue;
    uint32_t mMaxLength;
    std::vector<Pair> mShortened;
};
