#pragma once

#include "D3DMath.h"
#include "Material.h"
#include "MeshData.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lobex {

// A texture living on the renderer's device. The scene only passes it around.
class Texture {
public:
    virtual ~Texture() = default;
};

// How textures are created while the scene's texture options are on.
struct TextureOptions {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t MipLevels = 0;
    std::uint32_t Format = 0;
    std::uint32_t Pool = 0;
    std::uint32_t Filter = 0;
    // Texels of this colour become transparent; 0 means none.
    std::uint32_t ColorKey = 0;
};

// The device-bound side of the scene: what frames and meshes ask of the graphics device when
// they are drawn. The OpenGL view implements it; tests implement it with a recorder.
class Renderer {
public:
    virtual ~Renderer() = default;

    virtual Matrix GetWorldTransform() const = 0;
    virtual void SetWorldTransform(const Matrix& world) = 0;
    virtual void SetMaterial(const Material& material) = 0;
    // nullptr draws without a texture.
    virtual void SetTexture(const Texture* texture) = 0;
    // Blending with source alpha and inverse source alpha as the factors.
    virtual void SetAlphaBlending(bool enabled) = 0;
    // Draws the triangles of one subset with the current transform, material and texture. The
    // renderer may keep its copy of the mesh in mesh.DeviceData.
    virtual void DrawSubset(const MeshData& mesh, std::uint32_t subset) = 0;
    // A texture made from an image file; nullptr when the file cannot be used. options is null
    // for the device's defaults; colorKey 0 means no colour key.
    virtual std::shared_ptr<Texture> CreateTextureFromFile(const std::string& path,
                                                           const TextureOptions* options,
                                                           std::uint32_t colorKey) = 0;
};

} // namespace lobex
