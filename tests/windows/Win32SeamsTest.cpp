// The Win32 seams against the real profile functions, registry and HID
// class of the system (Wine's).

#include "ProgramRunner.h"
#include "common/LanguageText.h"
#include "device/HidScan.h"
#include "platform/HidPort_win32.h"
#include "platform/Profile_win32.h"
#include "platform/Registry_win32.h"
#include "platform/System_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Writes a UTF-16LE profile file with a byte-order mark.
void WriteUtf16File(const std::wstring& path, const std::wstring& text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    const unsigned char bom[2] = {0xFF, 0xFE};
    WriteFile(file, bom, 2, &n, nullptr);
    WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &n, nullptr);
    CloseHandle(file);
}

const wchar_t kTestKey[] = L"Software\\PelnoCplTests\\Seams";

} // namespace

TEST(Win32Profile, ReadsWritesLongValuesAndEverySectionName)
{
    std::wstring file = MakeTempFolder(L"pelno_profile") + L"\\p.ini";
    DeleteFileW(file.c_str());
    CWin32Profile profile;
    EXPECT_EQ(profile.GetString(file, L"S", L"k", L"dflt"), L"dflt");
    EXPECT_TRUE(profile.WriteString(file, L"S", L"k", L"-17"));
    EXPECT_EQ(profile.GetString(file, L"s", L"K", L"dflt"), L"-17");

    std::wstring longValue(3000, L'v');
    EXPECT_TRUE(profile.WriteString(file, L"S", L"long", longValue));
    EXPECT_EQ(profile.GetString(file, L"S", L"long", L""), longValue);

    // Far more names than a 256-character list holds.
    for (int i = 0; i < 60; ++i)
        profile.WriteString(file, L"\\Device\\USBPDO-" + std::to_wstring(i), L"MaxX", L"1");
    auto names = profile.GetSectionNames(file);
    ASSERT_EQ(names.size(), 61u);
    EXPECT_EQ(names[0], L"S");
    EXPECT_EQ(names[60], L"\\Device\\USBPDO-59");
    EXPECT_TRUE(profile.GetSectionNames(file + L".missing").empty());
}

TEST(Win32Profile, Utf16FilesKeepChineseAndJapaneseTexts)
{
    std::wstring file = MakeTempFolder(L"pelno_profile") + L"\\u.ini";
    WriteUtf16File(file, L"[Language]\r\n1=\u6620\u5c04\r\n2=\u30de\u30c3\u30d4\u30f3\u30b0\r\n");
    CWin32Profile profile;
    EXPECT_EQ(profile.GetString(file, L"Language", L"1", L""), L"\u6620\u5c04");
    EXPECT_EQ(profile.GetString(file, L"Language", L"2", L""), L"\u30de\u30c3\u30d4\u30f3\u30b0");
}

TEST(Win32Registry, KeysValuesAndSubkeys)
{
    CWin32Registry registry;
    std::wstring key = kTestKey;
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PelnoCplTests");
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, key));
    EXPECT_FALSE(registry.SetDword(RegistryRoot::CurrentUser, key, L"Mode", 1));
    EXPECT_FALSE(registry.GetDword(RegistryRoot::CurrentUser, key, L"Mode"));

    ASSERT_TRUE(registry.CreateKey(RegistryRoot::CurrentUser, key + L"\\DeviceParameters\\A"));
    ASSERT_TRUE(registry.CreateKey(RegistryRoot::CurrentUser, key + L"\\DeviceParameters\\B"));
    EXPECT_TRUE(registry.SetDword(RegistryRoot::CurrentUser, key, L"Mode", 0xFFFFFFFBu));
    EXPECT_EQ(registry.GetDword(RegistryRoot::CurrentUser, key, L"mode"), 0xFFFFFFFBu);
    EXPECT_TRUE(registry.SetString(RegistryRoot::CurrentUser, key, L"Name", L"\\Device\\USBPDO-3"));
    EXPECT_EQ(registry.GetString(RegistryRoot::CurrentUser, key, L"Name"), L"\\Device\\USBPDO-3");
    // A value of the other type is not taken for this one.
    EXPECT_FALSE(registry.GetString(RegistryRoot::CurrentUser, key, L"Mode"));
    EXPECT_FALSE(registry.GetDword(RegistryRoot::CurrentUser, key, L"Name"));
    EXPECT_EQ(registry.GetSubkeys(RegistryRoot::CurrentUser, key + L"\\DeviceParameters"),
              (std::vector<std::wstring>{L"A", L"B"}));
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\PelnoCplTests");
}

TEST(Win32Hid, SystemInterfacesOfOtherVendorsAreRejected)
{
    // Wine exposes HID interfaces of its own; none of them is a touchscreen.
    CWin32HidPort port;
    ASSERT_TRUE(port.BeginScan());
    unsigned interfaces = 0;
    std::wstring path;
    while (port.NextInterface(interfaces, path) == HidEnumStatus::Found)
        ++interfaces;
    port.EndScan();

    std::vector<std::unique_ptr<TouchScreenRecord>> found;
    EXPECT_TRUE(ScanTouchScreens(port, found, 64));
    EXPECT_TRUE(found.empty());
    std::printf("HID interfaces seen: %u\n", interfaces);
}

TEST(LanguageChoice, SystemLanguageSelectsTheFile)
{
    // Run once per locale; the CTest entry says which id LC_ALL gives.
    const char* expected = std::getenv("PELNO_EXPECTED_LANGID");
    if (!expected)
        GTEST_SKIP() << "run by the windows.Language.* entries";
    CWin32System system;
    unsigned id = system.DefaultLanguageId();
    EXPECT_EQ(id, static_cast<unsigned>(std::atoi(expected)));

    std::wstring folder = MakeTempFolder(L"pelno_language");
    CreateDirectoryW((folder + L"\\Language").c_str(), nullptr);
    WriteUtf16File(folder + L"\\Language\\2052.ini",
                   L"[Language]\r\n79=\u89e6\u6478\u5c4f\u63a7\u5236\u9762\u677f\r\n");
    WriteUtf16File(folder + L"\\Language\\1041.ini", L"[Language]\r\n79=\u30bf\u30c3\u30c1\u30d1\u30cd\u30eb\r\n");
    WriteUtf16File(folder + L"\\Language\\1033.ini", L"[Language]\r\n79=TouchScreen Control Panel\r\n");
    CWin32Profile profile;
    std::wstring text = LookUpLanguageText(profile, folder, id, L"79");
    if (id == 2052)
        EXPECT_EQ(text, L"\u89e6\u6478\u5c4f\u63a7\u5236\u9762\u677f");
    else if (id == 1041)
        EXPECT_EQ(text, L"\u30bf\u30c3\u30c1\u30d1\u30cd\u30eb");
    else
        EXPECT_EQ(text, L"TouchScreen Control Panel");
    EXPECT_EQ(LookUpLanguageText(profile, folder, id, L"9999"), L"9999");
    // Help: the manual of this language, the English one once that is missing.
    struct : CWin32System {
        std::wstring folder;
        std::wstring ProgramFolder() override { return folder; }
    } inFolder;
    inFolder.folder = folder;
    for (const std::wstring& manual : {ManualFileFor(id), ManualFileFor(1033)})
        WriteUtf16File(folder + manual, L"%PDF");
    EXPECT_EQ(ManualPath(inFolder), folder + ManualFileFor(id));
    if (id != 1033) {
        DeleteFileW((folder + ManualFileFor(id)).c_str());
        EXPECT_EQ(ManualPath(inFolder), folder + L"\\UserManual.pdf");
    }
}

TEST(Win32Hid, OverlappedReadTimesOutCompletesAndCancels)
{
    // A named pipe stands in for a HID handle: both are read overlapped.
    std::wstring name = L"\\\\.\\pipe\\pelno_read_" + std::to_wstring(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                     PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    HANDLE client = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    auto write = [&](std::uint8_t fill) {
        std::vector<std::uint8_t> report(100, fill);
        DWORD n = 0;
        return WriteFile(client, report.data(), 100, &n, nullptr) && n == 100;
    };

    std::vector<std::uint8_t> buffer(100, 0);
    {
        auto read = StartOverlappedRead(server, buffer.data(), buffer.size());
        ASSERT_TRUE(read);
        std::size_t bytes = 0;
        EXPECT_EQ(read->Wait(60, bytes), HidWaitResult::TimedOut);
        EXPECT_EQ(read->Wait(60, bytes), HidWaitResult::TimedOut) << "a timed-out read stays pending";
        ASSERT_TRUE(write(0x84));
        EXPECT_EQ(read->Wait(1000, bytes), HidWaitResult::Completed);
        EXPECT_EQ(bytes, 100u);
        EXPECT_EQ(buffer[99], 0x84);
    }
    {
        // Cancelled: the next report is left for the next read.
        std::vector<std::uint8_t> abandoned(100, 0);
        auto read = StartOverlappedRead(server, abandoned.data(), abandoned.size());
        ASSERT_TRUE(read);
        std::size_t bytes = 0;
        EXPECT_EQ(read->Wait(60, bytes), HidWaitResult::TimedOut);
        read.reset();
        ASSERT_TRUE(write(0x41));
        EXPECT_EQ(abandoned[0], 0);
    }
    auto next = StartOverlappedRead(server, buffer.data(), buffer.size());
    ASSERT_TRUE(next);
    std::size_t bytes = 0;
    EXPECT_EQ(next->Wait(1000, bytes), HidWaitResult::Completed);
    EXPECT_EQ(buffer[0], 0x41);
    next.reset();

    // A closed handle cannot be read.
    CloseHandle(client);
    CloseHandle(server);
    EXPECT_FALSE(StartOverlappedRead(server, buffer.data(), buffer.size()));
}
