#include "scene/SceneContext.h"
#include "SceneTestSupport.h"

#include <gtest/gtest.h>

namespace lobex {
namespace {

using test::RecordedTexture;
using test::RecordingRenderer;
using test::TemporaryFolder;

class TextureLoading : public ::testing::Test {
protected:
    TextureLoading() {
        for (const char* name : {"wood.bmp", "leaf_t.bmp", "scan.tif", "scan_t.tif"}) {
            test::WriteText(media.File(name), "image");
        }
        scene.renderer = &renderer;
        scene.MediaFolder = media.Path().string();
    }

    const RecordedTexture* Load(std::string_view name) {
        last = LoadTexture(scene, name);
        return dynamic_cast<const RecordedTexture*>(last.get());
    }

    TemporaryFolder media;
    RecordingRenderer renderer;
    SceneContext scene;
    std::shared_ptr<Texture> last;
};

TEST_F(TextureLoading, FindsTheFileInTheMediaFolderAndCachesItByName) {
    const RecordedTexture* wood = Load("wood.bmp");
    ASSERT_NE(wood, nullptr);
    EXPECT_EQ(wood->path, media.File("wood.bmp"));
    EXPECT_FALSE(wood->options);
    EXPECT_EQ(wood->colorKey, 0U);
    EXPECT_EQ(Load("wood.bmp"), wood);
    EXPECT_EQ(renderer.texturesCreated, 1);
}

TEST_F(TextureLoading, AFileFoundAsNamedWinsOverTheMediaFolder) {
    TemporaryFolder elsewhere;
    test::WriteText(elsewhere.File("wood.bmp"), "image");
    const RecordedTexture* wood = Load(elsewhere.File("wood.bmp"));
    ASSERT_NE(wood, nullptr);
    EXPECT_EQ(wood->path, elsewhere.File("wood.bmp"));
}

TEST_F(TextureLoading, ColourKeysFollowTheNameWhileOptionsAreOn) {
    scene.TextureOptionsOn = true;
    scene.TextureSettings.ColorKey = 0x00FF00FFU;
    struct Case {
        const char* name;
        std::uint32_t key;
    };
    const Case cases[] = {
        {"wood.bmp", 0x00FF00FFU},
        {"leaf_t.bmp", 0xFFFF00FFU}, // the stored key with its alpha bits set
        {"scan.tif", 0U},
        {"scan_t.tif", 0U}, // .tif never has a colour key
    };
    for (const Case& c : cases) {
        const RecordedTexture* texture = Load(c.name);
        ASSERT_NE(texture, nullptr) << c.name;
        EXPECT_TRUE(texture->options) << c.name;
        EXPECT_EQ(texture->colorKey, c.key) << c.name;
    }
}

TEST_F(TextureLoading, NamesThatCannotBeLoadedGiveNoTexture) {
    EXPECT_EQ(LoadTexture(scene, ""), nullptr);
    EXPECT_EQ(LoadTexture(scene, "missing.bmp"), nullptr);
    renderer.failTextures = true;
    EXPECT_EQ(LoadTexture(scene, "leaf_t.bmp"), nullptr);
    // A failure is not cached: the file is tried again next time.
    renderer.failTextures = false;
    EXPECT_NE(LoadTexture(scene, "leaf_t.bmp"), nullptr);
    scene.renderer = nullptr;
    EXPECT_EQ(LoadTexture(scene, "scan.tif"), nullptr);
}

class FixedSource final : public TextureSource {
public:
    std::shared_ptr<Texture> TextureLoadCallback(std::string_view name) override {
        asked.emplace_back(name);
        return texture;
    }
    std::shared_ptr<Texture> texture = std::make_shared<RecordedTexture>("given", false, 0);
    std::vector<std::string> asked;
};

TEST_F(TextureLoading, TheCallbackSuppliesTexturesWhileItIsOn) {
    FixedSource source;
    scene.TextureCallbackObject = &source;
    scene.TextureCallbackOn = true;
    EXPECT_EQ(LoadTexture(scene, "wood.bmp"), source.texture);
    EXPECT_EQ(source.asked, std::vector<std::string>{"wood.bmp"});
    EXPECT_EQ(renderer.texturesCreated, 0);
    scene.TextureCallbackOn = false;
    EXPECT_NE(LoadTexture(scene, "wood.bmp"), source.texture);
}

TEST(SphereVisibility, ASphereIsHiddenOnlyWhenWhollyBehindAPlane) {
    // Keep what lies at z >= 1: the plane z - 1 = 0.
    const std::vector<Plane> planes = {{0, 0, 1, -1}};
    EXPECT_TRUE(SphereVisible({}, {0, 0, -100}, 1.0f));
    EXPECT_TRUE(SphereVisible(planes, {0, 0, 5}, 1.0f));
    EXPECT_TRUE(SphereVisible(planes, {0, 0, 0.5f}, 1.0f)); // straddles the plane
    EXPECT_TRUE(SphereVisible(planes, {0, 0, 0.0f}, 1.0f)); // touches it
    EXPECT_FALSE(SphereVisible(planes, {0, 0, -0.5f}, 1.0f));
}

} // namespace
} // namespace lobex
