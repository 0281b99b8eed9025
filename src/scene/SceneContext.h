#pragma once

#include "D3DMath.h"
#include "Renderer.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lobex {

// Supplies the textures a .x file names, in place of the texture loader, while the scene's
// texture callback is on.
class TextureSource {
public:
    virtual ~TextureSource() = default;
    virtual std::shared_ptr<Texture> TextureLoadCallback(std::string_view name) = 0;
};

// What the frames and meshes of one scene share: the device, where media files are looked for,
// the clip planes of the visibility test, the loading switches and the texture cache. The view
// that owns the scene owns one of these and passes it down.
struct SceneContext {
    // The device; null while there is none (meshes then load without textures and draw nothing).
    Renderer* renderer = nullptr;
    // Put in front of file names that are not found as named.
    std::string MediaFolder;
    std::vector<Plane> ClipPlanes;

    // Every material read from a .x file gets diffuse alpha 1.0.
    bool ForceOpaqueMaterials = false;
    // Textures are created with TextureSettings rather than the device's defaults.
    bool TextureOptionsOn = false;
    TextureOptions TextureSettings;
    // Textures named in .x files come from TextureCallbackObject rather than the loader.
    bool TextureCallbackOn = false;
    TextureSource* TextureCallbackObject = nullptr;

    std::map<std::string, std::shared_ptr<Texture>, std::less<>> TextureCache;
};

// The file as named when it exists, else the media folder's file of that name when that exists;
// empty when neither does.
std::string FindMediaFile(const SceneContext& scene, const std::string& name);

// The texture for a name in a .x file: none for an empty name, the cached one for a name loaded
// before, else a new one from the file (as named, else in the media folder). Names containing
// "_t." use the colour key of the texture options with its alpha bits set (options on), names
// containing ".tif" no colour key. Any failure gives no texture.
std::shared_ptr<Texture> LoadTexture(SceneContext& scene, std::string_view name);

// A sphere is visible unless it lies wholly behind one of the clip planes (the plane's value at
// the centre below minus the radius). With no clip planes every sphere is visible.
bool SphereVisible(const std::vector<Plane>& clipPlanes, Vector3 center, float radius);

} // namespace lobex
