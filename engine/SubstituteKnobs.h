#pragma once
// The small settings the engine keeps for the view, and the game-controller
// parameters the main view reads (the game-controller engine itself comes
// with its view).
#include "CallLog.h"
#include "ListenerList.h"
#include "Notifier.h"
#include "binding/GuitarUIKnobs.h"
#include "binding/IDizuvozaPars.h"

#include <array>
#include <mutex>

namespace Corvell {
namespace Substitute {

class SubstituteKnobs final : public GuitarUI::Knobs {
public:
    static constexpr int kKnobs = 16;
    SubstituteKnobs(CallLog& log, Notifier& notifier) : m_log(log), m_notifier(notifier) {}
    ~SubstituteKnobs() { m_notifier.Flush(); }
    size_t ListenerCount() { return m_listeners.Count(); }

    int GetKnob(int index) override;
    void SetKnob(int index, int value) override;
    void AddChangedListener(Delegate1<int>* l) override;
    bool RemoveChangedListener(Delegate1<int>* l) override;

private:
    CallLog& m_log;
    Notifier& m_notifier;
    std::mutex m_mutex;
    std::array<int, kKnobs> m_knobs{};
    ListenerList<Delegate1<int>> m_listeners;
};

class SubstituteDizuvozaPars final : public IDizuvozaPars {
public:
    static constexpr int kParameters = 4096;
    SubstituteDizuvozaPars(CallLog& log, Notifier& notifier) : m_log(log), m_notifier(notifier) {}
    ~SubstituteDizuvozaPars() { m_notifier.Flush(); }
    size_t ListenerCount() { return m_listeners.Count(); }
    // A change from inside the engine (a button on the device), not logged.
    void EngineSetParameter(int id, int value);

    int GetParameter(int id) override;
    void SetParameter(int id, int value) override;
    void AddParameterListener(Delegate2<int, int, void>* l) override;
    bool RemoveParameterListener(Delegate2<int, int, void>* l) override;
    IDizuvozaParInfo* GetParameterInfo(int id) override;
    IChordMapsMan* GetChordMaps() override { return nullptr; }
    int GetSequenceCount() override { return 0; }
    const char* GetSequenceName(int) override { return nullptr; }

private:
    void Store(int id, int value);
    CallLog& m_log;
    Notifier& m_notifier;
    std::mutex m_mutex;
    std::array<int, kParameters> m_values{};
    ListenerList<Delegate2<int, int, void>> m_listeners;
};

} // namespace Substitute
} // namespace Corvell
