#include "view3d/AntennaLoader.h"

#include "SceneTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lobex {
namespace {

struct AntennaLoaderTest : ::testing::Test {
    AntennaLoaderTest() {
        state.AppTitle = "Lobex";
        state.Paths.AppFolder = "/opt/lobex/";
        CreateSceneFrames(scene, "");
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
    struct Case {
        const char* what;
        std::string chosen;
        bool loaded;
        std::vector<std::string> messages;
        std::string rememberedFolder;
    };
    const std::string dipoleFolder = FolderOf(dipole);
    const Case cases[] = {
        {"cancelled", "", false, {}, ""},
        {"a model file", dipole, true, {}, dipoleFolder},
        {"a file that is not a model",
         broken,
         false,
         {std::string(kAntennaReadError)},
         FolderOf(broken)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
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
        const auto stored = settings.values.find("Paths/DescPath");
        EXPECT_EQ(stored == settings.values.end() ? "" : stored->second, c.rememberedFolder);
        EXPECT_EQ(dialogs.openTitles.back(), "Open File");
        EXPECT_EQ(dialogs.filters.back(), "MMANA Input Files (*.maa)|*.maa|");
    }
}

TEST_F(AntennaLoaderTest, TheLoadedDipoleIsScaledIntoTheViewWithOneMarkerAtItsFeed) {
    dialogs.openFile = (test::TestDataFolder() / "3d" / "dipole_20m.maa").string();
    ASSERT_TRUE(OpenAntennaDescription(Context()));
    ASSERT_EQ(view.Antenna.Wires.size(), 1U);
    EXPECT_NEAR(view.Antenna.Wires[0].End1.x, -0.5f, 1e-6f); // extent 15 scaled to 1.5
    EXPECT_NEAR(view.Antenna.Wires[0].End2.x, 0.5f, 1e-6f);
    EXPECT_NEAR(view.Antenna.Wires[0].End1.y, 1.0f, 1e-6f);
    EXPECT_EQ(view.Antenna.AntennaName, "Dipole 20m");
    ASSERT_TRUE(scene.AntennaFrame);
    EXPECT_EQ(scene.AntennaFrame->GetChildFrameCount(), 1);
    EXPECT_NE(scene.AntennaFrame->FindChildObject("Source0"), nullptr);
    // The name, frequency and peak gain join the corner text.
    const auto lines = TextLines(view, 7.349f, ",");
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[1].Text, "Dipole 20m");
    EXPECT_EQ(lines[2].Text, "f=14.1MHz");
    EXPECT_EQ(lines[3].Text, "Ga=7,35dBi");
}

TEST_F(AntennaLoaderTest, TheDialogOpensInTheRememberedFolderWhileItExistsElseTheProgramsFolder) {
    const std::string existing = folder.Path().string() + "/";
    const struct {
        std::string stored;
        std::string asked;
    } cases[] = {{"", "/opt/lobex/"}, {existing, existing}, {existing + "gone/", "/opt/lobex/"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        settings.values["Paths/DescPath"] = c.stored;
        OpenAntennaDescription(Context());
        EXPECT_EQ(dialogs.folders.back(), c.asked);
    }
}

} // namespace
} // namespace lobex
