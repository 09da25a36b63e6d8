// The Global Link option of SorvEffect: while an instance's "Global Link" is on, each edit of
// one of its parameters is repeated on every other linked instance in the process, and their
// hosts receive it as their own automation. Linking takes the shared values; unlinking gives
// back the values the instance had before.
#include "core/CoreIds.h"
#include "core/SorvEffect.h"

#include "base/thread/include/flock.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "vst2/AudioEffectX.h"

#include <atomic>
#include <cstring>
#include <set>

namespace SorvLib {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr const char* kPresetExporterName = "SorvPresetExtractor";
constexpr size_t kHostNameBytes = 65;

// Process-wide, built at module load in this order. The lock guards the three after it; it is
// re-entrant on one thread, so a walk that calls into other instances may take it again.
std::set<SorvEffect*> instanceList;
Base::Thread::FLock instanceLock("FLock");
ParameterContainer linkedParameters;
int32 linkedInstanceCount = 0;
// Nesting depth of forwarded calls: only the outermost call forwards, in every thread.
std::atomic<int32> linkDepth{0};

// Copies every parameter of the controller, description and value, into the container.
void copyParameters(EditController& from, ParameterContainer& to) {
    to.removeAll();
    for (int32 i = 0; i < from.getParameterCount(); ++i) {
        ParameterInfo info = {};
        if (from.getParameterInfo(i, info) != kResultOk)
            continue;
        if (Parameter* copy = to.addParameter(info))
            copy->setNormalized(from.getParamNormalized(info.id));
    }
}

Parameter* entryAt(ParameterContainer& container, int32 index) {
    return index >= 0 && index < container.getParameterCount()
               ? container.getParameterByIndex(index)
               : nullptr;
}

} // namespace

bool SorvEffect::isLinked() {
    return getParamNormalized(kGlobalLinkId) == 1.0;
}

bool SorvEffect::isLinkable(ParamID tag) {
    Parameter* parameter = parameters.getParameter(tag);
    return tag != kGlobalLinkId && parameter &&
           (parameter->getInfo().flags & ParameterInfo::kIsReadOnly) == 0;
}

void SorvEffect::linkInitialize() {
    auto* link = new StringListParameter(STR16("Global Link"), kGlobalLinkId, nullptr,
                                         ParameterInfo::kIsList, kRootUnitId);
    link->appendString(STR16("Off"));
    link->appendString(STR16("On"));
    parameters.addParameter(link);

    Base::Thread::FGuard guard(instanceLock);
    instanceList.insert(this);
    hostIsPresetExporter = false;
    // The framework's own preset exporter hosts the effect under its VST 2 wrapper.
    IVst3ToVst2Wrapper* wrapper = nullptr;
    if (hostContext &&
        hostContext->queryInterface(IVst3ToVst2Wrapper::iid, reinterpret_cast<void**>(&wrapper)) ==
            kResultOk &&
        wrapper) {
        if (auto* host = dynamic_cast<AudioEffectX*>(wrapper)) {
            char name[kHostNameBytes] = {};
            if (host->getHostProductString(name))
                hostIsPresetExporter =
                    std::strncmp(name, kPresetExporterName, kHostNameBytes - 1) == 0;
        }
        wrapper->release();
    }
}

void SorvEffect::linkTerminate() {
    Base::Thread::FGuard guard(instanceLock);
    if (isLinked())
        --linkedInstanceCount;
    instanceList.erase(this);
    if (linkedInstanceCount <= 0 || instanceList.empty())
        linkedParameters.removeAll();
}

void SorvEffect::linkEdit(ParamID tag, bool begin) {
    if (!isLinked() || !isLinkable(tag))
        return;
    editInProgress[tag] = begin;
    if (++linkDepth == 1) {
        Base::Thread::FGuard guard(instanceLock);
        for (SorvEffect* other : instanceList) {
            if (other == this || !other->isLinked())
                continue;
            if (begin)
                other->beginEdit(tag);
            else
                other->endEdit(tag);
        }
    }
    --linkDepth;
}

void SorvEffect::linkValue(ParamID tag, ParamValue value) {
    if (!isLinked() || !isLinkable(tag))
        return;
    if (++linkDepth == 1) {
        Base::Thread::FGuard guard(instanceLock);
        const bool editing = editInProgress[tag];
        for (SorvEffect* other : instanceList) {
            if (other == this || !other->isLinked())
                continue;
            other->setParamNormalized(tag, value);
            if (editing)
                other->performEdit(tag, value);
        }
        if (Parameter* shared = linkedParameters.getParameter(tag))
            shared->setNormalized(value);
    }
    --linkDepth;
}

void SorvEffect::linkSwitched(ParamValue value) {
    Base::Thread::FGuard guard(instanceLock);
    // Each value goes through this instance's edits, so its host records it.
    auto takeValues = [this](ParameterContainer& source) {
        for (int32 i = 0; i < getParameterCount(); ++i) {
            Parameter* entry = entryAt(source, i);
            if (!entry || entry->getInfo().id == kGlobalLinkId ||
                (entry->getInfo().flags & ParameterInfo::kIsReadOnly))
                continue;
            const ParamID id = entry->getInfo().id;
            const ParamValue shared = entry->getNormalized();
            beginEdit(id);
            setParamNormalized(id, shared);
            performEdit(id, shared);
            endEdit(id);
        }
    };
    if (value == 1.0) {
        copyParameters(*this, linkSnapshot);
        if (++linkedInstanceCount == 1)
            copyParameters(*this, linkedParameters);
        else
            takeValues(linkedParameters);
    } else {
        if (--linkedInstanceCount <= 0) {
            linkedInstanceCount = 0;
            linkedParameters.removeAll();
        }
        takeValues(linkSnapshot);
    }
}

void SorvEffect::setGlobalLink(bool on, bool allInstances) {
    if (!globalLinkEnabled)
        return;
    const ParamValue value = on ? 1.0 : 0.0;
    beginEdit(kGlobalLinkId);
    setParamNormalized(kGlobalLinkId, value);
    performEdit(kGlobalLinkId, value);
    endEdit(kGlobalLinkId);
    if (allInstances) {
        Base::Thread::FGuard guard(instanceLock);
        for (SorvEffect* other : instanceList)
            if (other != this)
                other->setGlobalLink(on, false);
    }
}

} // namespace SorvLib
