// Saving into a folder whose name the Western code page cannot write: the program's ANSI calls
// take UTF-8 (its manifest says so), so the dialog, the file and the stored folder all keep it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/saved_images.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

std::wstring TempFolderW() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return path;
}

std::vector<BYTE> ReadFileW(const std::wstring& path) {
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

class UnicodeFolder : public PeerixTest {
protected:
    void SetUp() override {
        RemoveFolder();  // what an interrupted run left
        PeerixTest::SetUp();
    }
    void TearDown() override {
        PeerixTest::TearDown();
        RemoveFolder();
    }
    void RemoveFolder() {
        DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }
    // "Screenshots" in Japanese: none of it is in code page 1252.
    const std::wstring folder = TempFolderW() + L"peerix-\x30b9\x30af\x30ea\x30fc\x30f3\x30b7\x30e7\x30c3\x30c8";
    const std::wstring file = folder + L"\\shot.bmp";
};

}  // namespace

TEST_F(UnicodeFolder, SaveWritesIntoAJapaneseFolderAndRemembersIt) {
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    WriteTextW("InitialDirectory", folder);
    WriteDword("DisplayToolbar", 0);
    WriteDword("DisplayStatusbar", 0);
    WriteDword("SaveZoomedImage", 0);
    WriteDword("SaveImageType", 1);  // .bmp
    ASSERT_TRUE(Start());
    input::Press('S', {VK_CONTROL});
    ASSERT_TRUE(waiting::WaitFor([&] { return SaveDialogOf(peerix.Pid()) != nullptr; }, 5000));
    input::Type("shot");
    input::Press(VK_RETURN);
    std::vector<BYTE> bytes;
    EXPECT_TRUE(waiting::WaitFor([&] { return (bytes = ReadFileW(file)).size() > 54; }, 5000))
        << "nothing written in the folder";
    // A .bmp that says how long it is, and no error box instead.
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[2] | bytes[3] << 8 | bytes[4] << 16 | static_cast<size_t>(bytes[5]) << 24, bytes.size());
    ASSERT_TRUE(waiting::WaitFor([&] { return SaveDialogOf(peerix.Pid()) == nullptr; }, 3000));
    ASSERT_TRUE(peerix.Close());
    EXPECT_TRUE(ReadTextW("InitialDirectory") == folder) << "the folder was not stored as it is";
}
