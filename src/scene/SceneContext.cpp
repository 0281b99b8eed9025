#include "SceneContext.h"

#include "core/Utf8Path.h"

#include <filesystem>
#include <system_error>

namespace lobex {
namespace {

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string FindMediaFile(const SceneContext& scene, const std::string& name) {
    if (name.empty()) {
        return {};
    }
    if (IsFile(Utf8Path(name))) {
        return name;
    }
    if (!scene.MediaFolder.empty()) {
        const std::filesystem::path inFolder = Utf8Path(scene.MediaFolder) / Utf8Path(name);
        if (IsFile(inFolder)) {
            return PathToUtf8(inFolder);
        }
    }
    return {};
}

std::shared_ptr<Texture> LoadTexture(SceneContext& scene, std::string_view name) {
    if (name.empty()) {
        return nullptr;
    }
    if (scene.TextureCallbackOn && scene.TextureCallbackObject != nullptr) {
        return scene.TextureCallbackObject->TextureLoadCallback(name);
    }
    if (const auto cached = scene.TextureCache.find(name); cached != scene.TextureCache.end()) {
        return cached->second;
    }
    if (scene.renderer == nullptr) {
        return nullptr;
    }
    const std::string file = FindMediaFile(scene, std::string(name));
    if (file.empty()) {
        return nullptr;
    }
    const TextureOptions* options = scene.TextureOptionsOn ? &scene.TextureSettings : nullptr;
    std::uint32_t colorKey = scene.TextureOptionsOn ? scene.TextureSettings.ColorKey : 0U;
    if (scene.TextureOptionsOn && name.find("_t.") != std::string_view::npos) {
        colorKey |= 0xFF000000U;
    }
    if (name.find(".tif") != std::string_view::npos) {
        colorKey = 0U;
    }
    std::shared_ptr<Texture> texture =
        scene.renderer->CreateTextureFromFile(file, options, colorKey);
    if (texture != nullptr) {
        scene.TextureCache.emplace(std::string(name), texture);
    }
    return texture;
}

bool SphereVisible(const std::vector<Plane>& clipPlanes, Vector3 center, float radius) {
    for (const Plane& plane : clipPlanes) {
        if (PlaneDotCoord(plane, center) < -radius) {
            return false;
        }
    }
    return true;
}

} // namespace lobex
