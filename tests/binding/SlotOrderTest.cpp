// The engine calls through tables whose order is fixed; these checks fail
// when an operation is inserted, removed or moved.
#include "binding/CLooper.h"
#include "binding/GuitarUIKnobs.h"
#include "binding/IChordMapsMan.h"
#include "binding/ICorvellHost.h"
#include "binding/IDizuvoza.h"
#include "binding/IDizuvozaPars.h"
#include "binding/IGuitar.h"
#include "binding/IGuitarSynth.h"
#include "binding/IRnC.h"
#include "binding/ISampler.h"
#include "binding/IUserChordMapsMan.h"
#include "binding/MidiEffect.h"

#include <gtest/gtest.h>

#include <cstring>

namespace Corvell {
namespace {

// Itanium C++ ABI (GCC, Clang, mingw): a pointer to a virtual member holds
// 1 + the byte offset of its slot.
template <class F>
long Slot(F pmf) {
    struct Rep {
        uintptr_t ptr;
        ptrdiff_t adj;
    } rep;
    static_assert(sizeof(F) == sizeof(Rep), "member pointer layout");
    std::memcpy(&rep, &pmf, sizeof rep);
    EXPECT_EQ(1u, rep.ptr & 1u) << "not a virtual operation";
    return static_cast<long>((rep.ptr - 1) / sizeof(void*));
}

TEST(EngineSlots, IRnCKeepsItsFiftyEightSlots) {
    EXPECT_EQ(0, Slot(&IRnC::TouchParameter));
    EXPECT_EQ(1, Slot(&IRnC::SetParameter));
    EXPECT_EQ(2, Slot(&IRnC::GetParameter));
    EXPECT_EQ(7, Slot(&IRnC::AddPlaybackListener));
    EXPECT_EQ(11, Slot(&IRnC::ResetToDefaults));
    EXPECT_EQ(13, Slot(&IRnC::PlayFretNote));
    EXPECT_EQ(14, Slot(&IRnC::Command14));
    EXPECT_EQ(16, Slot(&IRnC::GetKeyFunction));
    EXPECT_EQ(23, Slot(&IRnC::Query23));
    EXPECT_EQ(24, Slot(&IRnC::GetFxInfo));
    EXPECT_EQ(30, Slot(&IRnC::AddFxListener));
    EXPECT_EQ(32, Slot(&IRnC::EnumPresets));
    EXPECT_EQ(38, Slot(&IRnC::RemovePresetListener));
    EXPECT_EQ(39, Slot(&IRnC::Reserved39));
    EXPECT_EQ(43, Slot(&IRnC::GetOutputSetting));
    EXPECT_EQ(45, Slot(&IRnC::SetOutputSettingCallback));
    EXPECT_EQ(46, Slot(&IRnC::Query46));
    EXPECT_EQ(47, Slot(&IRnC::Command47));
    EXPECT_EQ(48, Slot(&IRnC::SaveSettingsFile));
    EXPECT_EQ(51, Slot(&IRnC::SettingsCommand51));
    EXPECT_EQ(53, Slot(&IRnC::EnumPresets1));
    EXPECT_EQ(57, Slot(&IRnC::DeletePreset1));
}

TEST(EngineSlots, GuitarAndSamplerTables) {
    EXPECT_EQ(0, Slot(&IGuitar::GetGuitarCount));
    EXPECT_EQ(3, Slot(&IGuitar::SelectGuitar));
    EXPECT_EQ(5, Slot(&IGuitar::RemoveGuitarListener));
    EXPECT_EQ(0, Slot(&ISampler::TouchParameter));
    EXPECT_EQ(3, Slot(&ISampler::GetParameterInfo));
    EXPECT_EQ(4, Slot(&ISampler::Query4));
    EXPECT_EQ(9, Slot(&ISampler::SetSwitch));
    EXPECT_EQ(11, Slot(&ISampler::ResetToDefaults));
    EXPECT_EQ(0, Slot(&ICorvellHost::GetInterface));
}

TEST(EngineSlots, LooperPositions) {
    EXPECT_EQ(15, Slot(&MidiEffect::GetInterface));
    EXPECT_EQ(22, Slot(&CLooper::WriteCurrentPattern));
    EXPECT_EQ(30, Slot(&CLooper::GetPlayPosition));
    EXPECT_EQ(31, Slot(&CLooper::VisitCurrentTrack));
    EXPECT_EQ(34, Slot(&CLooper::IsAddPatternBlocked));
    EXPECT_EQ(39, Slot(&CLooper::GetPatternLength));
    EXPECT_EQ(45, Slot(&CLooper::GetDimFlag));
    EXPECT_EQ(50, Slot(&CLooper::SetDragRepeat));
    EXPECT_EQ(60, Slot(&CLooper::GetDragRepeatRange));
    EXPECT_EQ(70, Slot(&CLooper::GetRandomVelocity));
    EXPECT_EQ(74, Slot(&CLooper::GetStyleName));
    EXPECT_EQ(78, Slot(&CLooper::GetLibrary));
    EXPECT_EQ(81, Slot(&CLooper::StartPatternDrag));

    EXPECT_EQ(0, Slot(&CLooper::Listener::OnLooperClosing));
    EXPECT_EQ(5, Slot(&CLooper::Listener::OnPlayPosition));
    EXPECT_EQ(10, Slot(&CLooper::Listener::OnRepaint));

    EXPECT_EQ(2, Slot(&CLooper::LibraryNode::Rename));
    EXPECT_EQ(3, Slot(&CLooper::LibraryNode::Delete));
    EXPECT_EQ(4, Slot(&CLooper::LibraryNode::GetInfoPath));
    EXPECT_EQ(7, Slot(&CLooper::LibraryNode::GetPath));
    EXPECT_EQ(8, Slot(&CLooper::LibraryNode::GetFullPath));
    EXPECT_EQ(3, Slot(&CLooper::LibraryRoot::EndChange));
    EXPECT_EQ(4, Slot(&CLooper::LibraryRoot::BeginChange));
    EXPECT_EQ(5, Slot(&CLooper::LibraryRoot::Rescan));
}

TEST(EngineSlots, DelegatesPutInvokeAfterEquals) {
    // dtor (two entries), AddRef, Release, Equals, then Invoke.
    EXPECT_EQ(2, Slot(&RefCounted::AddRef));
    EXPECT_EQ(3, Slot(&RefCounted::Release));
    EXPECT_EQ(4, Slot(&AbstractDelegate::Equals));
    EXPECT_EQ(5, Slot(&Delegate1<int>::Invoke));
    EXPECT_EQ(5, Slot(&IRnC::PresetListener::OnPresetChanged));
    EXPECT_EQ(6, Slot(&IRnC::PresetListener::OnPresetListChanged));
}

} // namespace
} // namespace Corvell
