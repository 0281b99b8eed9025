// The glTF writer built into lobex-cli rather than loaded: with the system's TinyGLTF library
// comes its own copy of the C++ runtime, and loading those two would cost every run more time
// than the rest of a small file's info. lobex-cli writes glTF without images, so the image
// callbacks the writer's defaults name only refuse.
#define TINYGLTF_IMPLEMENTATION
#define TINYGLTF_NO_STB_IMAGE
#define TINYGLTF_NO_STB_IMAGE_WRITE
#define TINYGLTF_NO_EXTERNAL_IMAGE
#include <tiny_gltf.h>

namespace tinygltf {

bool LoadImageData(Image*, const int, std::string* err, std::string*, int, int,
                   const unsigned char*, int, void*);
bool WriteImageData(const std::string*, const std::string*, const Image*, bool, std::string*,
                    void*);

bool LoadImageData(Image*, const int, std::string* err, std::string*, int, int,
                   const unsigned char*, int, void*) {
    if (err != nullptr) {
        *err += "lobex-cli reads no glTF images\n";
    }
    return false;
}

bool WriteImageData(const std::string*, const std::string*, const Image*, bool, std::string*,
                    void*) {
    return false;
}

} // namespace tinygltf
