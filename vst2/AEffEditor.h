#pragma once
// The editor base of a VST 2.4 plug-in: the host opens it in its own window, asks for its
// rectangle and gives it idle time. Main thread only.

#include "vst2/AEffect.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;

    virtual AudioEffect* getEffect() { return effect; }
    // Stores a pointer to the editor's rectangle; the base has none.
    virtual bool getRect(ERect** rect) {
        if (rect)
            *rect = nullptr;
        return false;
    }
    // parent: the host's native window.
    virtual bool open(void* parent) {
        systemWindow = parent;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode&) { return false; }
    virtual bool onKeyUp(VstKeyCode&) { return false; }
    virtual bool onWheel(float) { return false; }
    virtual bool setKnobMode(VstInt32) { return false; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
