#include "view3d/AntennaLoader.h"

#include "SceneTestSupport.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

struct AntennaLoaderTest : ::testing::Test {
    AntennaLoaderTest() {
        state.AppTitle = "Lobex";
        CreateSceneFrames(scene, nullptr);
    }
    AntennaContext Context() { return {state, view, scene, settings, dialogs, messages}; }

    test::TempFolder folder;
    AppState state;
    View3DState view;
    View3DScene scene;
    test::MemorySettings settings;
    test::FakeFileDialogs dialogs;
    test::RecordingMessages messages;
};

TEST_F(AntennaLoaderTest, WhatEachChoiceLeavesLoadedShownAndRemembered) {
    const std::string dipole = (test::TestDataFolder() / "3d" / "dipole_20m.maa").string();
    const std::string broken =
        folder.Write("broken.maa", "Dipole\r\n*\r\n14.1\r\n***Wires***\r\n0\r\n");
    const struct {
        std::string chosen;
        bool loaded;
        std::vector<std::string> messages;
        std::string rememberedFolder;
    } cases[] = {
        {"", false, {}, ""}, // cancelled
        {broken, false, {std::string(kAntennaReadError)}, FolderOf(broken)},
        {dipole, true, {}, FolderOf(dipole)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        // An antenna from before must not survive a cancelled or failed read.
        view.AntennaLoaded = true;
        view.WiresVisible = false;
        messages.shown.clear();
        settings.values.clear();
        dialogs.openFile = c.chosen;

        EXPECT_EQ(OpenAntennaDescription(Context()), c.loaded);
        EXPECT_EQ(view.AntennaLoaded, c.loaded);
        EXPECT_EQ(view.WiresVisible, c.loaded); // a new antenna is shown at once
        EXPECT_EQ(messages.Texts(), c.messages);
        EXPECT_EQ(dialogs.filters.back(), "MMANA Input Files (*.maa)|*.maa|");
        const auto stored = settings.values.find("Paths/DescPath");
        EXPECT_EQ(stored == settings.values.end() ? "" : stored->second, c.rememberedFolder);
    }
    // The dipole loaded last has its one feed marker.
    EXPECT_EQ(view.Antenna.AntennaName, "Dipole 20m");
    ASSERT_TRUE(scene.AntennaFrame);
    EXPECT_EQ(scene.AntennaFrame->GetChildFrameCount(), 1);
    EXPECT_NE(scene.AntennaFrame->FindChildObject("Source0"), nullptr);
    // The next dialog opens where it was; the fallback to the program's folder for a folder
    // that is gone is the shared rule of every dialog.
    dialogs.openFile.clear();
    OpenAntennaDescription(Context());
    EXPECT_EQ(dialogs.folders.back(), FolderOf(dipole));
}

} // namespace
} // namespace lobex
