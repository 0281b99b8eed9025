#include "FuzzInput.h"
#include "scene/OwnModelReader.h"

#include <cstdlib>

// Our own reader of the binary pattern models. What it reads must hold together: every index of
// the mesh inside its vertex list, one attribute per triangle.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lobex::XFileContent content;
    if (lobex::ReadOwnModelFile(lobex::fuzz::Bytes(data, size), content) !=
        lobex::OwnModelRead::Read) {
        return 0;
    }
    for (const lobex::XFrameObject& frame : content.Frames) {
        for (const lobex::XMeshObject& mesh : frame.Meshes) {
            const lobex::MeshData& shape = mesh.Mesh;
            for (const std::uint32_t index : shape.Indices) {
                if (index >= shape.Vertices.size()) {
                    std::abort();
                }
            }
            if (shape.Attributes.size() * 3 != shape.Indices.size()) {
                std::abort();
            }
        }
    }
    return 0;
}
