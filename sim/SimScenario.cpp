#include "sim/SimScenario.h"

#include "common/TextEncoding.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <type_traits>

namespace {

std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Decimal or 0x-prefixed hexadecimal, the whole text.
std::optional<long> ParseNumber(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0')
        return std::nullopt;
    return value;
}

std::optional<bool> ParseFlag(const std::string& text)
{
    std::string t = Lower(text);
    if (t == "1" || t == "yes" || t == "true")
        return true;
    if (t == "0" || t == "no" || t == "false")
        return false;
    return std::nullopt;
}

// A comma-separated list of numbers within bounds.
std::optional<std::vector<long>> ParseList(const std::string& text, long low, long high)
{
    std::vector<long> values;
    std::string item;
    std::istringstream in(text);
    while (std::getline(in, item, ',')) {
        auto n = ParseNumber(Trim(item));
        if (!n || *n < low || *n > high)
            return std::nullopt;
        values.push_back(*n);
    }
    return values;
}

bool ApplyFrameKey(SimFrameSetup& frame, const std::string& key, const std::string& value, std::string& error)
{
    auto number = [&](long low, long high) -> std::optional<long> {
        auto n = ParseNumber(value);
        if (!n || *n < low || *n > high) {
            error = "value of " + key + " is not a number from " + std::to_string(low) + " to " + std::to_string(high);
            return std::nullopt;
        }
        return n;
    };
    auto flag = [&](bool& target) {
        auto f = ParseFlag(value);
        if (!f) {
            error = "value of " + key + " is not 0 or 1";
            return false;
        }
        target = *f;
        return true;
    };
    // Stores a number within bounds into a field of any integer type.
    auto assign = [&](auto& field, long low, long high) {
        auto n = number(low, high);
        if (n)
            field = static_cast<std::remove_reference_t<decltype(field)>>(*n);
        return n.has_value();
    };
    std::string k = Lower(key);
    if (k == "vendorid") {
        return assign(frame.vendorId, 0, 0xFFFF);
    } else if (k == "productid") {
        return assign(frame.productId, 0, 0xFFFF);
    } else if (k == "versionnumber") {
        return assign(frame.versionNumber, 0, 0xFFFF);
    } else if (k == "deviceobjectname") {
        frame.deviceObjectName = FromUtf8(value);
    } else if (k == "version") {
        if (value.size() != 4) {
            error = "Version must be four characters";
            return false;
        }
        frame.versionText = value;
    } else if (k == "serial") {
        frame.serialNumber = value;
    } else if (k == "number") {
        return assign(frame.touchScreenNumber, 0, 255);
    } else if (k == "monitor") {
        return assign(frame.monitor, 0, 63);
    } else if (k == "openfails") {
        return flag(frame.openFails);
    } else if (k == "nameunreadable") {
        return flag(frame.nameUnreadable);
    } else if (k == "notificationfails") {
        return flag(frame.notificationFails);
    } else if (k == "silent") {
        return flag(frame.silent);
    } else if (k == "garbage") {
        return flag(frame.garbage);
    } else if (k == "answerdelay") {
        return assign(frame.answerDelayMs, 0, 60000);
    } else if (k == "unplugafter") {
        return assign(frame.unplugAfterMs, 0, 3600000);
    } else if (k == "ignorecommand") {
        auto n = number(0, 0xFFFF);
        if (!n)
            return false;
        frame.ignoredCommands.push_back(static_cast<std::uint16_t>(*n));
    } else if (k == "logfile") {
        frame.logFile = FromUtf8(value);
    } else if (k == "ledsx" || k == "ledsy" || k == "ledstep" || k == "ledmarker" || k == "ledthreshold") {
        auto n = number(0, 255);
        if (!n)
            return false;
        if (k == "ledsx")
            frame.ledsX = static_cast<int>(*n);
        else if (k == "ledsy")
            frame.ledsY = static_cast<int>(*n);
        else if (k == "ledstep")
            frame.ledStepByte = static_cast<std::uint8_t>(*n);
        else if (k == "ledmarker")
            frame.ledMarker = static_cast<std::uint8_t>(*n);
        else
            frame.ledThreshold = static_cast<std::uint8_t>(*n);
    } else if (k == "rawmaxx" || k == "rawmaxy") {
        auto n = number(1, 0xFFFF);
        if (!n)
            return false;
        (k == "rawmaxx" ? frame.rawMaxX : frame.rawMaxY) = static_cast<std::uint16_t>(*n);
    } else if (k == "badleds" || k == "framereplies") {
        auto list = ParseList(value, k == "badleds" ? 1 : 0, k == "badleds" ? 510 : 255);
        if (!list) {
            error = "value of " + key + " is not a list of numbers";
            return false;
        }
        if (k == "badleds")
            frame.badLeds.assign(list->begin(), list->end());
        else
            frame.frameReplies.assign(list->begin(), list->end());
    } else if (k == "touch") {
        // delay,x,y
        SimTouch touch;
        unsigned delay = 0, x = 0, y = 0;
        char tail = 0;
        if (std::sscanf(value.c_str(), "%u ,%u ,%u %c", &delay, &x, &y, &tail) != 3 || x > 0xFFFF || y > 0xFFFF) {
            error = "Touch must be delay,x,y";
            return false;
        }
        touch.delayMs = delay;
        touch.x = static_cast<std::uint16_t>(x);
        touch.y = static_cast<std::uint16_t>(y);
        frame.touches.push_back(touch);
    } else {
        error = "unknown key " + key;
        return false;
    }
    return true;
}

} // namespace

SimFrameSetup DefaultSimFrame(unsigned index)
{
    SimFrameSetup frame;
    frame.deviceObjectName = L"\\Device\\USBPDO-" + std::to_wstring(index + 3);
    frame.serialNumber = "SIM" + std::to_string(1000 + index);
    frame.touchScreenNumber = static_cast<int>(index);
    frame.monitor = static_cast<int>(index);
    return frame;
}

SimScenario MakeCountedScenario(unsigned count)
{
    SimScenario scenario;
    for (unsigned i = 0; i < count; ++i)
        scenario.frames.push_back(DefaultSimFrame(i));
    return scenario;
}

std::optional<SimScenario> ParseScenario(const std::string& text, std::string& error)
{
    SimScenario scenario;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    enum class Section { None, Scenario, Frame, Other } section = Section::None;
    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(lineNumber) + ": " + what;
        return std::nullopt;
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        std::string t = Trim(line);
        if (t.empty() || t[0] == ';' || t[0] == '#')
            continue;
        if (t.front() == '[') {
            if (t.back() != ']')
                return fail("section header without ]");
            std::string name = Lower(Trim(t.substr(1, t.size() - 2)));
            if (name == "scenario") {
                section = Section::Scenario;
            } else if (name.rfind("frame", 0) == 0) {
                // Frames come in file order; the number after "Frame" is a label.
                section = Section::Frame;
                scenario.frames.push_back(DefaultSimFrame(static_cast<unsigned>(scenario.frames.size())));
            } else {
                section = Section::Other; // room for later sections
            }
            continue;
        }
        std::size_t eq = t.find('=');
        if (eq == std::string::npos)
            return fail("expected key=value");
        std::string key = Trim(t.substr(0, eq));
        std::string value = Trim(t.substr(eq + 1));
        if (section == Section::Frame) {
            std::string what;
            if (!ApplyFrameKey(scenario.frames.back(), key, value, what))
                return fail(what);
        } else if (section == Section::Scenario) {
            if (Lower(key) == "enumerationfailsat") {
                auto n = ParseNumber(value);
                if (!n || *n < 0)
                    return fail("EnumerationFailsAt must be a count");
                scenario.enumerationFailsAt = static_cast<unsigned>(*n);
            }
        } else if (section == Section::None) {
            return fail("key outside a section");
        }
    }
    return scenario;
}

std::optional<SimScenario> LoadScenario(const std::wstring& setting, std::string& error)
{
    bool digits = !setting.empty() &&
                  std::all_of(setting.begin(), setting.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    if (digits) {
        if (setting.size() > 3) {
            error = "too many virtual touchscreens";
            return std::nullopt;
        }
        return MakeCountedScenario(static_cast<unsigned>(std::stoul(setting)));
    }
    std::ifstream file(std::filesystem::path(setting), std::ios::binary);
    if (!file) {
        error = "cannot open scenario file " + ToUtf8(setting);
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring wide;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            wide += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        text = ToUtf8(wide);
    } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text = bytes.substr(3);
    } else {
        text = bytes;
    }
    return ParseScenario(text, error);
}
