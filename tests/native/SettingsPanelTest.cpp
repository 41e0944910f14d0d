// The Settings dialog's behaviour and the mouse settings it applies, against
// a configuration library, a registry and mouse settings in memory. The test
// plays the window: it clicks options and reads what the panel shows.

#include "config/SettingsPanel.h"
#include "FakeConfigurationLibrary.h"
#include "config/SystemMouseSettings.h"
#include "platform/MemoryRegistry.h"
#include "platform/MemorySystemMouse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <optional>
#include <set>

namespace {

DriverConfig DefaultRecord()
{
    DriverConfig r = kDriverDefaults;
    r.Mode = 2;
    return r;
}

struct RecordingView : ISettingsView {
    SettingsControls shown;
    int okFocused = 0;
    int notStored = 0;
    std::optional<bool> closed;
    void ShowControls(const SettingsControls& controls) override { shown = controls; }
    void FocusOk() override { ++okFocused; }
    void ReportNotStored() override { ++notStored; }
    void Close(bool ok) override { closed = ok; }
};

struct SettingsRig {
    CFakeConfigurationLibrary library;
    CMemorySystemMouse mouse;
    CMemoryRegistry registry;
    RecordingView view;
    CSettingsPanel panel{{library, mouse, registry}, view};

    explicit SettingsRig(const DriverConfig& record)
    {
        library.driver = record;
        panel.Open();
    }
    bool Enabled(SettingsOption id) const { return view.shown.at(id).enabled; }
    bool Checked(SettingsOption id) const { return view.shown.at(id).checked; }
    int Writes() const
    {
        return static_cast<int>(std::count_if(library.calls.begin(), library.calls.end(),
                                              [](const auto& call) { return call.name == "SetDriverConfig"; }));
    }
};

// Every control the enabling rules touch, and those a case expects enabled.
const std::set<SettingsOption> kRuled = {
    SettingsOption::EnableRightClick, SettingsOption::EnableDragDelay, SettingsOption::RightClickTime,
    SettingsOption::RightClickArea,   SettingsOption::RightClickGroup, SettingsOption::DragDelayTime,
    SettingsOption::DragDelayGroup,   SettingsOption::DoubleClickTime, SettingsOption::DoubleClickArea,
    SettingsOption::DoubleClickGroup, SettingsOption::DelayTouchTime,  SettingsOption::DelayTouchGroup,
    SettingsOption::BeepGroup,        SettingsOption::PcSpeaker,       SettingsOption::SoundCard,
    SettingsOption::BeepOnTouch,      SettingsOption::BeepOnRelease,   SettingsOption::BeepBoth,
    SettingsOption::BeepFrequency,    SettingsOption::BeepDuration};

struct RuleCase {
    const char* name;
    int mode, rightClick, dragDelay, doubleClick, delayTouch, beep, beepType, beepMode;
    std::set<SettingsOption> enabled;
    SettingsOption checkedBeepMode; // the beep-mode radio checked
};

const std::set<SettingsOption> kBeepControls = {SettingsOption::BeepGroup, SettingsOption::PcSpeaker,
                                                SettingsOption::SoundCard};

std::set<SettingsOption> Join(std::initializer_list<std::set<SettingsOption>> sets)
{
    std::set<SettingsOption> all;
    for (const auto& s : sets)
        all.insert(s.begin(), s.end());
    return all;
}

const RuleCase kRuleCases[] = {
    {"touch mode greys right click and drag delay, forces beep on touch", 0, 1, 1, 0, 0, 1, 0, 2,
     Join({kBeepControls, {SettingsOption::BeepOnTouch, SettingsOption::BeepFrequency, SettingsOption::BeepDuration}}),
     SettingsOption::BeepOnTouch},
    {"release mode forces beep on release", 1, 0, 0, 1, 1, 1, 0, 0,
     Join({kBeepControls,
           {SettingsOption::BeepOnRelease, SettingsOption::BeepFrequency, SettingsOption::BeepDuration,
            SettingsOption::DoubleClickTime, SettingsOption::DoubleClickArea, SettingsOption::DoubleClickGroup,
            SettingsOption::DelayTouchTime, SettingsOption::DelayTouchGroup}}),
     SettingsOption::BeepOnRelease},
    {"release mode without beep still forces the beep mode, greyed",
     1,
     0,
     0,
     0,
     0,
     0,
     0,
     2,
     {},
     SettingsOption::BeepOnRelease},
    {"emulation enables right click and drag delay with their sliders",
     2,
     1,
     1,
     0,
     0,
     0,
     0,
     1,
     {SettingsOption::EnableRightClick, SettingsOption::EnableDragDelay, SettingsOption::RightClickTime,
      SettingsOption::RightClickArea, SettingsOption::RightClickGroup, SettingsOption::DragDelayTime,
      SettingsOption::DragDelayGroup},
     SettingsOption::BeepOnRelease},
    {"emulation with the boxes unchecked greys only the sliders",
     2,
     0,
     0,
     0,
     0,
     0,
     0,
     0,
     {SettingsOption::EnableRightClick, SettingsOption::EnableDragDelay},
     SettingsOption::BeepOnTouch},
    {"emulation with beep leaves all three beep modes free", 2, 0, 0, 0, 0, 1, 0, 7,
     Join({kBeepControls,
           {SettingsOption::EnableRightClick, SettingsOption::EnableDragDelay, SettingsOption::BeepOnTouch,
            SettingsOption::BeepOnRelease, SettingsOption::BeepBoth, SettingsOption::BeepFrequency,
            SettingsOption::BeepDuration}}),
     SettingsOption::BeepBoth},
    {"the sound card greys frequency and duration", 2, 0, 0, 0, 0, 1, 1, 1,
     Join({kBeepControls,
           {SettingsOption::EnableRightClick, SettingsOption::EnableDragDelay, SettingsOption::BeepOnTouch,
            SettingsOption::BeepOnRelease, SettingsOption::BeepBoth}}),
     SettingsOption::BeepOnRelease},
};

} // namespace

TEST(SettingsPanel, EnablingRulesOfEachModeWhenTheDialogOpens)
{
    for (const RuleCase& c : kRuleCases) {
        SCOPED_TRACE(c.name);
        DriverConfig record = DefaultRecord();
        record.Mode = c.mode;
        record.EnableRightClick = c.rightClick;
        record.EnableDragDelay = c.dragDelay;
        record.EnableDoubleClick = c.doubleClick;
        record.EnableDelayTouch = c.delayTouch;
        record.EnableBeep = c.beep;
        record.BeepType = c.beepType;
        record.BeepMode = c.beepMode;
        SettingsRig rig(record);
        for (SettingsOption id : kRuled)
            EXPECT_EQ(rig.Enabled(id), c.enabled.contains(id)) << "control " << static_cast<int>(id);
        for (SettingsOption id : {SettingsOption::BeepOnTouch, SettingsOption::BeepOnRelease, SettingsOption::BeepBoth})
            EXPECT_EQ(rig.Checked(id), id == c.checkedBeepMode) << "beep radio " << static_cast<int>(id);
        EXPECT_TRUE(rig.Checked(static_cast<SettingsOption>(static_cast<int>(SettingsOption::ClickOnTouch) + c.mode)));
        EXPECT_FALSE(rig.Enabled(SettingsOption::Apply)) << "nothing changed yet";
        // The mode radios and the always-free boxes are never greyed.
        for (SettingsOption id :
             {SettingsOption::ClickOnTouch, SettingsOption::ClickOnRelease, SettingsOption::MouseEmulation,
              SettingsOption::EnableTouch, SettingsOption::HideCursor, SettingsOption::EnableDoubleClick,
              SettingsOption::EnableDelayTouch, SettingsOption::EnableBeep})
            EXPECT_TRUE(rig.Enabled(id)) << static_cast<int>(id);
    }
}

// Each row: a stored record, clicks, then what Apply writes.
// Clicks carry the new check state, slider moves the position reported.
TEST(SettingsPanel, ClicksAndSliderMovesThenApplyWriteTheRecordTheRulesGive)
{
    struct Click {
        SettingsOption id;
        int value;
    };
    struct Case {
        const char* name;
        DriverConfig stored;
        std::vector<Click> clicks;
        std::function<void(DriverConfig&)> expect; // from the stored record
    };
    DriverConfig touchMode = DefaultRecord();
    touchMode.Mode = 0;
    touchMode.EnableRightClick = touchMode.EnableDragDelay = 1;
    DriverConfig releaseBeep = DefaultRecord();
    releaseBeep.Mode = 1;
    releaseBeep.EnableBeep = 1;
    releaseBeep.BeepMode = 2;
    DriverConfig outOfRange = DefaultRecord();
    outOfRange.RightClickTime = 500;
    outOfRange.BeepFrequency = 9000;
    outOfRange.Mode = 7;
    const Case cases[] = {
        {"touch mode writes right click and drag delay off",
         touchMode,
         {{SettingsOption::EnableTouch, false}},
         [](DriverConfig& r) { r.EnableRightClick = r.EnableDragDelay = r.EnableTouch = 0; }},
        {"release mode with beep writes beep on release",
         releaseBeep,
         {{SettingsOption::HideCursor, true}},
         [](DriverConfig& r) { r.BeepMode = 1, r.HideCursor = 1; }},
        {"a stored value outside its slider is written as the slider holds it; an unknown mode as touch",
         outOfRange,
         {{SettingsOption::EnableTouch, false}, {SettingsOption::EnableTouch, true}},
         [](DriverConfig& r) { r.RightClickTime = 1000, r.BeepFrequency = 7000, r.Mode = 0, r.BeepMode = 0; }},
        {"switching to emulation brings back the boxes' checks",
         touchMode,
         {{SettingsOption::MouseEmulation, true}},
         [](DriverConfig& r) { r.Mode = 2; }},
        {"switching to release forces the beep mode",
         DefaultRecord(),
         {{SettingsOption::EnableBeep, true}, {SettingsOption::BeepBoth, true}, {SettingsOption::ClickOnRelease, true}},
         [](DriverConfig& r) { r.Mode = 1, r.EnableBeep = 1, r.BeepMode = 1, r.EnableRightClick = 0; }},
        {"the sound card greys the sliders, their positions are still written",
         releaseBeep,
         {{SettingsOption::SoundCard, true}},
         [](DriverConfig& r) { r.BeepType = 1, r.BeepMode = 1; }},
        {"a greyed radio cannot be clicked",
         touchMode,
         {{SettingsOption::EnableRightClick, false},
          {SettingsOption::BeepBoth, true},
          {SettingsOption::EnableTouch, true}},
         [](DriverConfig& r) { r.EnableRightClick = r.EnableDragDelay = 0; }},
        {"sliders hold what they are moved to within their range",
         DefaultRecord(),
         {{SettingsOption::DoubleClickArea, 40}, {SettingsOption::BeepDuration, 30}},
         [](DriverConfig& r) { r.DoubleClickArea = 32, r.BeepDuration = 30; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRig rig(c.stored);
        for (const Click& click : c.clicks)
            if (std::ranges::find(kSettingsSliders, click.id, &SettingsSlider::id) != kSettingsSliders.end())
                rig.panel.OnSliderMoved(click.id, click.value);
            else
                rig.panel.OnClicked(click.id, click.value != 0);
        EXPECT_TRUE(rig.Enabled(SettingsOption::Apply));
        rig.panel.OnApply();
        DriverConfig expected = c.stored;
        c.expect(expected);
        EXPECT_EQ(std::memcmp(&rig.library.driver, &expected, sizeof expected), 0);
        EXPECT_EQ(rig.Writes(), 1);
    }
}

TEST(SettingsPanel, ApplyWritesOnceUntilTheNextChangeAndFocusesOk)
{
    SettingsRig rig(DefaultRecord());
    rig.panel.OnSliderMoved(SettingsOption::DoubleClickTime, 500);
    rig.panel.OnApply();
    EXPECT_EQ(rig.Writes(), 0)
        << "Apply is disabled when the dialog opens, and a slider left where it was is no change";
    rig.panel.OnClicked(SettingsOption::HideCursor, true);
    rig.panel.OnApply();
    rig.panel.OnApply();
    EXPECT_EQ(rig.Writes(), 1);
    EXPECT_FALSE(rig.Enabled(SettingsOption::Apply));
    EXPECT_EQ(rig.view.okFocused, 1);
    EXPECT_FALSE(rig.view.closed);
    rig.panel.OnClicked(SettingsOption::HideCursor, false);
    rig.panel.OnApply();
    EXPECT_EQ(rig.Writes(), 2);
    rig.panel.OnCancel();
    EXPECT_EQ(rig.view.closed, false);
    EXPECT_EQ(rig.Writes(), 2) << "Cancel writes nothing";
}

TEST(SettingsPanel, ARefusedWriteIsReportedAndChangesNothingElse)
{
    SettingsRig rig(DefaultRecord());
    rig.library.answers = false;
    rig.panel.OnClicked(SettingsOption::HideCursor, true);
    rig.panel.OnApply();
    EXPECT_EQ(rig.view.notStored, 1);
    EXPECT_TRUE(rig.Enabled(SettingsOption::Apply)) << "Apply stays for another try";
    EXPECT_EQ(rig.view.okFocused, 0);
    rig.panel.OnOk();
    EXPECT_EQ(rig.view.notStored, 2);
    EXPECT_FALSE(rig.view.closed) << "OK keeps the dialog open when nothing was stored";
    EXPECT_TRUE(rig.mouse.calls.empty()) << "the mouse settings follow only a stored record";
}

TEST(SettingsPanel, ValuesTheLibraryCannotReadShowAndAreWrittenAsTheDriversDefaults)
{
    struct CUnreadableDriver : CFakeConfigurationLibrary {
        bool GetDriverConfig(DriverConfig&) override { return false; }
    } library;
    CMemorySystemMouse mouse;
    CMemoryRegistry registry;
    RecordingView view;
    CSettingsPanel panel({library, mouse, registry}, view);
    panel.Open();
    panel.OnOk();
    EXPECT_EQ(std::memcmp(&library.driver, &kDriverDefaults, sizeof kDriverDefaults), 0);
    EXPECT_EQ(library.driver.EnableTouch, 1) << "touch stays on";
    EXPECT_EQ(view.closed, true) << "OK closes once the record is stored";
}

// ---- the user's mouse settings

namespace {

struct MouseRig {
    CMemorySystemMouse mouse;
    CMemoryRegistry registry;
    void Apply(std::int32_t hide, std::int32_t doubleClick = 1, std::int32_t area = 12, std::int32_t time = 500)
    {
        DriverConfig record = DefaultRecord();
        record.HideCursor = hide;
        record.EnableDoubleClick = doubleClick;
        record.DoubleClickArea = area;
        record.DoubleClickTime = time;
        ApplySystemMouseSettings(record, mouse, registry);
    }
};

} // namespace

TEST(SystemMouseSettings, DoubleClickOnStoresTheValuesOffOnlyClearsTheSession)
{
    MouseRig rig;
    rig.Apply(0, 1, 12, 500);
    EXPECT_EQ(rig.mouse.doubleClick, (CMemorySystemMouse::DoubleClick{12, 12, 500}));
    EXPECT_EQ(rig.mouse.mouseValues,
              (std::map<std::wstring, std::wstring>{
                  {L"DoubleClickWidth", L"12"}, {L"DoubleClickHeight", L"12"}, {L"DoubleClickSpeed", L"500"}}));
    EXPECT_EQ(rig.mouse.calls,
              (std::vector<std::string>{"SetDoubleClick", "StoreMouseValues", "SetCursors", "ReloadCursors"}));

    rig.mouse.calls.clear();
    rig.Apply(0, 0, 20, 900);
    EXPECT_EQ(rig.mouse.doubleClick, (CMemorySystemMouse::DoubleClick{0, 0, 0}));
    EXPECT_EQ(rig.mouse.mouseValues.at(L"DoubleClickSpeed"), L"500") << "the stored values stay";
    EXPECT_EQ(rig.mouse.calls, (std::vector<std::string>{"SetDoubleClick", "SetCursors", "ReloadCursors"}));

    rig.mouse.mouseKeyOpens = false;
    rig.mouse.calls.clear();
    rig.Apply(1);
    EXPECT_EQ(rig.mouse.calls.back(), "ReloadCursors") << "a mouse key that cannot be opened stops nothing";
    EXPECT_TRUE(IsInvisibleCursor(rig.mouse.cursors.at(L"Arrow")));
}

TEST(SystemMouseSettings, HidingKeepsTheUsersSchemeAndShowingPutsItBack)
{
    MouseRig rig;
    rig.mouse.cursors = {{L"Arrow", L"%SystemRoot%\\Cursors\\aero_arrow.cur"}, {L"Wait", L""}};
    const auto before = rig.mouse.cursors;

    rig.Apply(0);
    EXPECT_EQ(rig.mouse.cursors, before) << "showing a shown cursor changes no value";

    rig.Apply(1);
    ASSERT_EQ(rig.mouse.cursors.size(), kCursorNames.size());
    for (const wchar_t* name : kCursorNames)
        EXPECT_EQ(rig.mouse.cursors.at(name), kInvisibleCursorPath) << "hidden: " << name;
    rig.Apply(1);                                     // hidden again: what is kept is still the user's
    rig.mouse.cursors[L"Hand"] = L"C:\\my\\hand.cur"; // chosen while hidden
    rig.mouse.cursors[L"Help"] = L"\"C:\\Windows\\cursors\\NULL.CUR\" "; // another spelling of the file
    rig.registry.SetString(RegistryRoot::CurrentUser, kKeptCursorsPath, L"Wait",
                           L"D:/x/null.cur"); // an earlier version's

    rig.Apply(0);
    EXPECT_EQ(rig.mouse.cursors.at(L"Arrow"), L"%SystemRoot%\\Cursors\\aero_arrow.cur");
    EXPECT_EQ(rig.mouse.cursors.at(L"Wait"), L"");
    EXPECT_EQ(rig.mouse.cursors.at(L"IBeam"), L"") << "a value that did not exist becomes the default";
    EXPECT_EQ(rig.mouse.cursors.at(L"Hand"), L"C:\\my\\hand.cur") << "the user's later choice stays";
    for (const auto& [name, value] : rig.mouse.cursors)
        EXPECT_FALSE(IsInvisibleCursor(value)) << name;
    EXPECT_FALSE(IsInvisibleCursor(L"C:\\null.cur\\a.cur") || IsInvisibleCursor(L"C:\\notnull.cur"));
}

TEST(SystemMouseSettings, AValueThatCannotBeKeptIsNotHidden)
{
    MouseRig rig;
    rig.mouse.cursors = {{L"Arrow", L"C:\\mine.cur"}, {L"Help", L"%SYSTEMROOT%\\CURSORS\\NULL.CUR"}};
    rig.registry.DenyWrites(RegistryRoot::CurrentUser, L"Software");
    rig.Apply(1);
    EXPECT_EQ(rig.mouse.cursors.at(L"Arrow"), L"C:\\mine.cur");
    EXPECT_TRUE(IsInvisibleCursor(rig.mouse.cursors.at(L"Help")));
    EXPECT_EQ(rig.mouse.calls.back(), "ReloadCursors");
}
