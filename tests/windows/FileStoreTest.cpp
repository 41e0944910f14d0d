// The Win32 file seam and the ANSI code page against Wine's file system.

#include "ParameterTestSupport.h"
#include "ProgramRunner.h"
#include "platform/AnsiCodePage_win32.h"
#include "platform/FileStore_win32.h"

#include <gtest/gtest.h>

namespace {

std::size_t FilesIn(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    std::size_t count = 0;
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        count += !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

} // namespace

TEST(Win32Files, CreateReadAndReplaceWholeFiles)
{
    const std::wstring folder = MakeTempFolder(L"pelno_files");
    const std::wstring file = folder + L"\\a.ini";
    DeleteFileW(file.c_str());
    CWin32FileStore files;
    std::string bytes;
    EXPECT_EQ(files.Read(file, bytes), FileReadStatus::Missing);
    EXPECT_EQ(files.Create(file, std::string("one\0two", 7)), NewFileResult::Written);
    EXPECT_EQ(files.Create(file, "other"), NewFileResult::AlreadyExists);
    ASSERT_EQ(files.Read(file, bytes), FileReadStatus::Read);
    EXPECT_EQ(bytes, std::string("one\0two", 7));

    EXPECT_TRUE(files.Replace(file, "replaced"));
    EXPECT_EQ(ReadFileBytes(file), "replaced");
    EXPECT_EQ(FilesIn(folder), 1u) << "no temporary file is left";

    // Held open without sharing: neither read nor replaced.
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files.Read(file, bytes), FileReadStatus::CannotOpen);
    EXPECT_FALSE(files.Replace(file, "lost"));
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(file), "replaced");
    EXPECT_EQ(FilesIn(folder), 1u);

    // A read-only file is not replaced (where the system refuses to write
    // it: Wine run as root writes it all the same).
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE writable = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (writable == INVALID_HANDLE_VALUE) {
        EXPECT_FALSE(files.Replace(file, "lost"));
        EXPECT_EQ(ReadFileBytes(file), "replaced");
    } else {
        CloseHandle(writable);
    }
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    // A folder of the name is no file.
    CreateDirectoryW((folder + L"\\dir.ini").c_str(), nullptr);
    EXPECT_EQ(files.Read(folder + L"\\dir.ini", bytes), FileReadStatus::Missing);
    EXPECT_NE(files.Create(folder + L"\\dir.ini", "x"), NewFileResult::Written);
    EXPECT_EQ(files.Create(folder + L"\\no\\such\\b.ini", "x"), NewFileResult::Failed);
    EXPECT_EQ(FilesIn(folder), 1u);
    DeleteFileW(file.c_str());
}

TEST(Win32Files, AnsiCodePageRoundTripsItsBytesAndRefusesWhatItCannotHold)
{
    CWin32AnsiCodePage ansi;
    std::string every;
    for (int b = 1; b < 256; ++b)
        every += static_cast<char>(b);
    std::optional<std::wstring> text = ansi.Decode(every);
    if (!text)
        GTEST_SKIP() << "this code page has invalid bytes";
    EXPECT_EQ(ansi.Encode(*text), every);
    EXPECT_EQ(ansi.Encode(L"M1X=-3"), "M1X=-3");
    EXPECT_FALSE(ansi.Encode(L"TouchScreen\x89E6\x6478")) << "would be written as '?'";
}
