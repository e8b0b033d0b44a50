// The sound directory from the host's registry entry and the real file
// system of the Wine prefix.
#include <gtest/gtest.h>

#include "movie/sound_directory.h"
#include "movie_test_support.h"

using namespace movietest;

namespace {

std::string shortPathOf(const std::string& longPath) {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(longPath.c_str(), buffer, MAX_PATH);
    EXPECT_GT(length, 0u) << longPath;
    return buffer;
}

class SoundDirectory : public ::testing::Test {
protected:
    SoundDirectory() : tree_("zured16 sounds "), install_(tree_.makeFolder("Program Files Test\\Navigator Long Name")) {}

    TempTree tree_;
    std::string install_;
};

TEST_F(SoundDirectory, LongComponentsBecomeTheirShortNames) {
    const std::string expected = shortPathOf(install_) + "\\PROGRAM\\PLUGINS\\VXA_WAV\\";
    // The names must really have been shortened for the test to mean anything.
    ASSERT_EQ(std::string::npos, expected.find("Navigator Long Name"));
    {
        ScopedInstallDirectory value(install_.c_str());
        EXPECT_EQ(install_, readInstallDirectory());
        EXPECT_EQ(expected, findSoundDirectory());
    }
    // A trailing backslash names the same folder.
    EXPECT_EQ(expected, soundDirectoryFor(install_ + "\\"));
    EXPECT_EQ(expected, soundDirectoryFor(install_ + "\\\\"));
}

TEST_F(SoundDirectory, ProgramIsEnsuredAsLastComponent) {
    const std::string program = tree_.makeFolder("Program Files Test\\Navigator Long Name\\PROGRAM");
    const std::string expected = shortPathOf(install_) + "\\PROGRAM\\PLUGINS\\VXA_WAV\\";
    EXPECT_EQ(expected, soundDirectoryFor(program));
    // Only "PROGRAM" exactly is taken as already there.
    const std::string lower = tree_.makeFolder("Lower Case Install\\program");
    EXPECT_EQ(shortPathOf(lower) + "\\PROGRAM\\PLUGINS\\VXA_WAV\\", soundDirectoryFor(lower));
}

TEST_F(SoundDirectory, ComponentsTheSearchCannotFindAreUsedAsGiven) {
    const std::string missing = install_ + "\\Not There At All\\Deeper Still";
    EXPECT_EQ(shortPathOf(install_) + "\\Not There At All\\Deeper Still\\PROGRAM\\PLUGINS\\VXA_WAV\\",
              soundDirectoryFor(missing));
    // A wildcard would match some other entry; it is kept as it is.
    EXPECT_EQ(shortPathOf(tree_.root()) + "\\Program*\\PROGRAM\\PLUGINS\\VXA_WAV\\",
              soundDirectoryFor(tree_.root() + "\\Program*"));
    // A drive alone.
    EXPECT_EQ("Q:\\PROGRAM\\PLUGINS\\VXA_WAV\\", soundDirectoryFor("Q:\\"));
    EXPECT_EQ("Q:\\PROGRAM\\PLUGINS\\VXA_WAV\\", soundDirectoryFor("Q:"));
}

TEST_F(SoundDirectory, NoReadableValueGivesNoDirectory) {
    EXPECT_EQ("", soundDirectoryFor(""));
    EXPECT_EQ("", soundDirectoryFor("\\"));
    {
        ScopedInstallDirectory absent(nullptr);
        EXPECT_EQ("", readInstallDirectory());
        EXPECT_EQ("", findSoundDirectory());
    }
    {
        // Longer than the host's 143 characters: not a value the host wrote.
        const std::string tooLong = "C:\\" + std::string(150, 'a');
        ScopedInstallDirectory value(tooLong.c_str());
        EXPECT_EQ("", readInstallDirectory());
    }
    {
        const std::string longest = "C:\\" + std::string(140, 'a');
        ScopedInstallDirectory value(longest.c_str());
        EXPECT_EQ(longest, readInstallDirectory());
    }
    {
        ScopedInstallDirectory value(nullptr);
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Main",
                                               0, KEY_ALL_ACCESS, &key));
        const DWORD number = 7;
        RegSetValueExA(key, "Install Directory", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        RegCloseKey(key);
        EXPECT_EQ("", readInstallDirectory());
    }
}

TEST_F(SoundDirectory, MovieTakesItFromTheRegistry) {
    ScopedInstallDirectory value(install_.c_str());
    TestWindow window(32, 32);
    const std::vector<uint8_t> bytes = streamBytes(wideHeader({32, 32, 1, 1}), {});
    Movie movie(bytes.data(), static_cast<int32_t>(bytes.size()), window.object());
    EXPECT_EQ(shortPathOf(install_) + "\\PROGRAM\\PLUGINS\\VXA_WAV\\", movie.soundDirectory());
}

// Runs beside one another (vxaplay, the tests) each see their own value
// while they hold it, and leave the registry as they found it.
TEST_F(SoundDirectory, RunsSideBySideNeverSeeEachOthersValue) {
    const std::string before = readInstallDirectory();
    const auto run = [](const char* folder, int* wrong) {
        for (int i = 0; i < 150; ++i) {
            ScopedInstallDirectory value(folder);
            *wrong += readInstallDirectory() != folder;
            Sleep(0);
            *wrong += readInstallDirectory() != folder;
        }
    };
    int wrongA = 0;
    int wrongB = 0;
    struct Run {
        decltype(run)* body;
        int* wrong;
    } other{&run, &wrongB};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* argument) WINAPI -> DWORD {
            const Run* r = static_cast<Run*>(argument);
            (*r->body)("C:\\run B", r->wrong);
            return 0;
        },
        &other, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    run("C:\\run A", &wrongA);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(0, wrongA);
    EXPECT_EQ(0, wrongB);
    EXPECT_EQ(before, readInstallDirectory());
}

}  // namespace
