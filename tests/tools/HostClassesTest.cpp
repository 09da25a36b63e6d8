// The renderer's own host classes: the host context, the parameter-change list and queues
// an effect writes its meters into, and the 16-bit text conversion at the interfaces.

#include "HostApplication.h"
#include "ParameterChangeList.h"
#include "TextConversion.h"

#include <gtest/gtest.h>

using namespace SorvTools;
using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

TEST(ParamValueQueue, KeepsPointsInOffsetOrderAndReplacesAPointAtTheSameOffset) {
    ParamValueQueue queue;
    queue.reset(42);
    int32 index = -1;
    ASSERT_EQ(queue.addPoint(100, 0.5, index), kResultOk);
    EXPECT_EQ(index, 0);
    ASSERT_EQ(queue.addPoint(10, 0.25, index), kResultOk);
    EXPECT_EQ(index, 0);
    ASSERT_EQ(queue.addPoint(100, 0.75, index), kResultOk);
    EXPECT_EQ(index, 1);
    ASSERT_EQ(queue.getPointCount(), 2);

    int32 offset = 0;
    ParamValue value = 0.0;
    ASSERT_EQ(queue.getPoint(0, offset, value), kResultOk);
    EXPECT_EQ(offset, 10);
    EXPECT_EQ(value, 0.25);
    ASSERT_EQ(queue.getPoint(1, offset, value), kResultOk);
    EXPECT_EQ(offset, 100);
    EXPECT_EQ(value, 0.75);
    EXPECT_EQ(queue.getPoint(2, offset, value), kInvalidArgument);
    EXPECT_EQ(queue.getPoint(-1, offset, value), kInvalidArgument);
    EXPECT_EQ(queue.getParameterId(), 42u);

    queue.reset(7);
    EXPECT_EQ(queue.getPointCount(), 0);
}

TEST(ParamValueQueue, RefusesPointsBeyondItsRoom) {
    ParamValueQueue queue;
    queue.reset(1);
    int32 index = 0;
    for (int32 i = 0; i < ParamValueQueue::kMaxPoints; ++i)
        ASSERT_EQ(queue.addPoint(i, 0.0, index), kResultOk);
    EXPECT_EQ(queue.addPoint(ParamValueQueue::kMaxPoints, 0.0, index), kResultFalse);
    // Replacing an existing point still works when full.
    EXPECT_EQ(queue.addPoint(3, 1.0, index), kResultOk);
    EXPECT_EQ(queue.getPointCount(), ParamValueQueue::kMaxPoints);
}

TEST(ParameterChangeList, GivesOneQueuePerParameterUntilCleared) {
    ParameterChangeList list;
    int32 first = -1, second = -1, again = -1;
    IParamValueQueue* a = list.addParameterData(0x4772'4D74, first);
    IParamValueQueue* b = list.addParameterData(5, second);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(list.addParameterData(0x4772'4D74, again), a);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(again, 0);
    EXPECT_EQ(list.getParameterCount(), 2);
    EXPECT_EQ(list.getParameterData(1), b);
    EXPECT_EQ(list.getParameterData(2), nullptr);

    int32 index = 0;
    a->addPoint(0, 0.5, index);
    list.clear();
    EXPECT_EQ(list.getParameterCount(), 0);
    IParamValueQueue* fresh = list.addParameterData(9, index);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->getParameterId(), 9u);
    EXPECT_EQ(fresh->getPointCount(), 0); // no stale point from before the clear

    for (int32 id = 10; list.getParameterCount() < ParameterChangeList::kMaxQueues; ++id)
        ASSERT_NE(list.addParameterData(ParamID(id), index), nullptr);
    EXPECT_EQ(list.addParameterData(1000, index), nullptr);
}

TEST(HostClasses, AnswerTheirOwnInterfacesOnly) {
    ParameterChangeList list;
    void* face = nullptr;
    EXPECT_EQ(list.queryInterface(IParameterChanges::iid, &face), kResultOk);
    EXPECT_EQ(face, static_cast<IParameterChanges*>(&list));
    EXPECT_EQ(list.queryInterface(IHostApplication::iid, &face), kNoInterface);
    EXPECT_EQ(face, nullptr);

    HostApplication host;
    EXPECT_EQ(host.queryInterface(IHostApplication::iid, &face), kResultOk);
    EXPECT_EQ(host.referenceCount(), 2);
    host.release();
    EXPECT_EQ(host.queryInterface(IParameterChanges::iid, &face), kNoInterface);
    EXPECT_EQ(host.referenceCount(), 1);

    String128 name{};
    EXPECT_EQ(host.getName(name), kResultOk);
    EXPECT_EQ(toUtf8(name), "quor-render");
    EXPECT_EQ(host.createInstance(nullptr, nullptr, &face), kResultFalse);
    EXPECT_EQ(face, nullptr);
}

TEST(TextConversion, RoundTripsUnicodeAndReplacesBrokenSequences) {
    const std::string text =
        "Pr\xC3\xA9-D\xC3\xA9lai \xE2\x86\x92 \xF0\x9F\x8E\xB9"; // é, →, a keyboard
    const std::u16string wide = toUtf16(text);
    EXPECT_EQ(wide.size(), 14u); // the keyboard takes a surrogate pair
    std::vector<char16> terminated(wide.begin(), wide.end());
    terminated.push_back(0);
    EXPECT_EQ(toUtf8(terminated.data()), text);

    EXPECT_EQ(toUtf16("a\xC3"), std::u16string(u"a\uFFFD")); // cut short
    EXPECT_EQ(toUtf16("\x80z"), std::u16string(u"\uFFFDz")); // stray continuation
    const char16 lone[] = {char16(0xD800), char16('x'), 0};
    EXPECT_EQ(toUtf8(lone), "\xEF\xBF\xBDx");

    String128 shortened{};
    copyToString128(std::string(300, 'a'), shortened);
    EXPECT_EQ(toUtf8(shortened), std::string(127, 'a'));
}

} // namespace
