#include "scene/SceneContext.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::RecordedTexture;

class TextureLoading : public ::testing::Test {
protected:
    TextureLoading() {
        for (const char* name : {"wood.bmp", "leaf_t.bmp", "scan_t.tif"}) {
            media.Write(name, "image");
        }
        scene.renderer = &renderer;
        scene.MediaFolder = media.Path().string();
    }

    const RecordedTexture* Load(std::string_view name) {
        last = LoadTexture(scene, name);
        return dynamic_cast<const RecordedTexture*>(last.get());
    }

    test::TempFolder media;
    test::RecordingRenderer renderer;
    SceneContext scene;
    std::shared_ptr<Texture> last;
};

TEST_F(TextureLoading, FindsTheFileAsNamedOrInTheMediaFolderAndCachesWhatWasLoaded) {
    const RecordedTexture* wood = Load("wood.bmp");
    ASSERT_NE(wood, nullptr);
    EXPECT_EQ(wood->path, (media.Path() / "wood.bmp").string());
    EXPECT_EQ(Load("wood.bmp"), wood);
    EXPECT_EQ(renderer.texturesCreated, 1);
    test::TempFolder elsewhere;
    const std::string named = elsewhere.Write("wood.bmp", "image");
    EXPECT_EQ(Load(named)->path, named);
    // Names that cannot be loaded give no texture, and a failure is tried again next time.
    EXPECT_EQ(Load(""), nullptr);
    EXPECT_EQ(Load("missing.bmp"), nullptr);
    renderer.failTextures = true;
    EXPECT_EQ(Load("leaf_t.bmp"), nullptr);
    renderer.failTextures = false;
    EXPECT_NE(Load("leaf_t.bmp"), nullptr);
}

} // namespace
} // namespace lobex
