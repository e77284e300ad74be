// The wait for the vertical blank through the real plug-in, against a counting stand-in for
// ddraw.dll: when the DirectDraw object is made, used and released, and what happens when none
// can be made.
#include "PluginRun.h"
#include "resources/ResourceIds.h"

namespace {

const char kLyrics[] = "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]IJKL[00:14:00]\r\n";

// The stand-in, loaded before the plug-in asks for "ddraw.dll", so that it gets this module.
class FakeDirectDraw {
public:
    FakeDirectDraw() : module(LoadLibraryA((executableFolder() + "fake-ddraw\\ddraw.dll").c_str())) {}
    ~FakeDirectDraw() {
        if (module) FreeLibrary(module);
    }
    // Wine maps its own ddraw.dll for any path unless WINEDLLOVERRIDES prefers a native one.
    bool inPlace() const {
        return module && GetModuleHandleA("ddraw.dll") == module && GetProcAddress(module, "fakeDirectDrawCounts");
    }
    void failCreation(LONG fail) {
        reinterpret_cast<void(WINAPI*)(LONG)>(reinterpret_cast<void*>(GetProcAddress(module, "fakeDirectDrawFail")))(
            fail);
    }
    LONG made() { return counts().made; }
    LONG released() { return counts().released; }
    LONG waits() { return counts().waits; }

private:
    struct Counts {
        LONG made = 0, released = 0, waits = 0;
    };
    Counts counts() {
        Counts c;
        auto read = reinterpret_cast<void(WINAPI*)(LONG*, LONG*, LONG*)>(
            reinterpret_cast<void*>(GetProcAddress(module, "fakeDirectDrawCounts")));
        read(&c.made, &c.released, &c.waits);
        return c;
    }
    HMODULE module;
};

class VerticalSync : public PluginRun {
protected:
    void SetUp() override {
        PluginRun::SetUp();
        ASSERT_TRUE(fake.inPlace()) << "the stand-in ddraw.dll is not the one loaded: run with "
                                       "WINEDLLOVERRIDES=ddraw=n,b, as CTest does";
    }

    FakeDirectDraw fake;
};

}  // namespace

TEST_F(VerticalSync, OneObjectIsMadeAtTheFirstLyricsFrameUsedForEveryFrameAndReleasedWhenSwitchedOff) {
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    barAt(12000, kStatusTicks + 2);
    EXPECT_EQ(fake.made(), 0) << "Wait_Vsync off: no DirectDraw";

    restartPlayer();
    writeIni("Wait_Vsync", 1);
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(5, 3000));
    EXPECT_EQ(fake.made(), 0) << "banner frames never make the object";
    Image waited = barAt(12000, kStatusTicks + 2);
    EXPECT_GT(countPixels(waited, kSungPixel), 0) << "frames go on with the wait";
    EXPECT_EQ(fake.made(), 1);
    LONG waits = fake.waits();
    ASSERT_TRUE(player.waitTicks(10, 3000));
    EXPECT_GE(fake.waits() - waits, 10) << "one wait for every lyrics frame";
    stop();
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    waits = fake.waits();
    ASSERT_TRUE(player.waitTicks(10, 3000));
    EXPECT_GE(fake.waits() - waits, 10) << "and for every banner frame";

    // Switched off while the banner shows: no more waits, but the object lives until the next
    // lyrics frame.
    ASSERT_EQ(pressInSheet(kDisplayPage, IDC_WAIT_VSYNC), 1);
    EXPECT_EQ(iniValue("Wait_Vsync"), "0");
    waits = fake.waits();
    ASSERT_TRUE(player.waitTicks(10, 3000));
    EXPECT_EQ(fake.waits(), waits);
    EXPECT_EQ(fake.released(), 0);
    barAt(12000, kStatusTicks + 2);
    EXPECT_EQ(fake.released(), 1);

    // On again: a new object, which quit releases.
    ASSERT_EQ(pressInSheet(kDisplayPage, IDC_WAIT_VSYNC), 1);
    barAt(12500);
    EXPECT_EQ(fake.made(), 2);
    player.quit();
    EXPECT_EQ(fake.released(), 2);
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(VerticalSync, WhenNoObjectCanBeMadeTheFailureIsShownOnceAndTheWaitSwitchedOff) {
    fake.failCreation(1);
    writeIni("Wait_Vsync", 1);
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    Image shown = barAt(12000, kStatusTicks + 20);
    player.watchModalWindows();
    ASSERT_EQ(player.record.boxes.size(), 1u) << "one message, not one per frame";
    EXPECT_EQ(player.record.boxes[0].caption, "Error");
    EXPECT_EQ(player.record.boxes[0].text, "DirectDrawの作成に失敗しました。");
    EXPECT_GT(countPixels(shown, kSungPixel), 0) << "the lyrics go on without the wait";
    player.config();
    ASSERT_EQ(runSheet(1), 1);
    EXPECT_EQ(iniValue("Wait_Vsync"), "0") << "the switched-off wait is saved with the settings";
    fake.failCreation(0);
}
