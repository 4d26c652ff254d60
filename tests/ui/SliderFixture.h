#pragma once
#include "EventLog.h"
#include "PngBuilder.h"
#include "RecordingContext.h"
#include "TestImageSource.h"
#include "TestRootPane.h"
#include "ui/ControlSite.h"
#include "ui/RangeControl.h"
#include "ui/Slider.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace Corvell::Test {

// A site that writes every call into a shared log. Like the real chain,
// it tells its slider (`echo`) of each change, which reads it back.
class FakeSite : public ControlSite {
public:
    explicit FakeSite(std::vector<std::string>& log) : m_log(log) {}

    int32_t GetValue(int32_t id) override {
        ids.push_back(id);
        return value;
    }
    void SetValue(int32_t id, int32_t v) override {
        ids.push_back(id);
        m_log.push_back("SetValue " + std::to_string(v));
        value = v;
        if (echo)
            echo->Refresh();
    }
    void GetInfo(int32_t id, ControlInfo* out) override {
        ids.push_back(id);
        *out = info;
    }
    bool GetSwitch(int32_t id) override {
        ids.push_back(id);
        return false;
    }
    void SetSwitch(int32_t id, bool) override { ids.push_back(id); }
    void AddListener(int32_t, Delegate*) override {}
    void RemoveListener(int32_t, Delegate*) override {}
    void BeginEdit(int32_t id) override {
        ids.push_back(id);
        m_log.push_back("BeginEdit");
    }
    void EndEdit(int32_t id) override {
        ids.push_back(id);
        m_log.push_back("EndEdit");
    }

    ControlInfo info;
    int32_t value = 0;
    Slider* echo = nullptr;
    std::vector<int32_t> ids; // the id of every call

private:
    std::vector<std::string>& m_log;
};

// Logs "Begin", "Changed <value>", "End", prefixed with its name when it has one.
class LogListener : public Inner_delegate<RangeControlListener> {
public:
    explicit LogListener(std::vector<std::string>& log, std::string name = std::string())
        : m_log(log), m_prefix(name.empty() ? name : name + " ") {}

    void Begin(RangeControl* c) override { Log("Begin", c); }
    void Changed(RangeControl* c) override { Log("Changed " + std::to_string(c->GetValue()), c); }
    void End(RangeControl* c) override { Log("End", c); }

    // Runs after logging, with the operation's name.
    std::function<void(const std::string& op)> then;

private:
    void Log(const std::string& what, RangeControl*) {
        m_log.push_back(m_prefix + what);
        if (then)
            then(what.substr(0, what.find(' ')));
    }
    std::vector<std::string>& m_log;
    std::string m_prefix;
};

// Every `open` followed by one `close` before the next `open`, and none left open.
inline ::testing::AssertionResult Balanced(const std::vector<std::string>& log, const std::string& open,
                                           const std::string& close) {
    bool inside = false;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i] == open) {
            if (inside)
                return ::testing::AssertionFailure() << open << " twice, at " << i;
            inside = true;
        } else if (log[i] == close) {
            if (!inside)
                return ::testing::AssertionFailure() << close << " without " << open << ", at " << i;
            inside = false;
        }
    }
    if (inside)
        return ::testing::AssertionFailure() << open << " never closed";
    return ::testing::AssertionSuccess();
}

// The slider images, with the sizes of the product's: two-frame thumbs of
// 30x21 and slots of 64x19 and 19x64 (or none at all). The image cache is
// emptied around each test, so every test sees its own images.
class SliderImages {
public:
    explicit SliderImages(bool withImages = true) {
        ClearImageCache();
        if (!withImages)
            return;
        source.AddPng("slider-thumb-sm-h", RgbaPng(30, 21));
        source.AddPng("slider-thumb-sm-v", RgbaPng(30, 21));
        source.AddPng("sliderSlotH", RgbaPng(64, 19));
        source.AddPng("sliderSlotV", RgbaPng(19, 64));
    }
    ~SliderImages() { ClearImageCache(); }

    TestImageSource source{"/nowhere/module"};
};

} // namespace Corvell::Test
