#pragma once

#include "XFile.h"

#include <string_view>

namespace lobex {

// What the own reader made of a file.
enum class OwnModelRead {
    // Another layout: the general reader (Assimp) is to read it.
    NotOurs,
    // It begins as our models do, but the counts, lists and corners of its mesh or its normals
    // contradict each other or the file's size (a truncated or damaged file). It is not handed
    // on: the general reader allocates by such counts before it finds the fault, and keeps what
    // it allocated when it gives up.
    Damaged,
    Read,
};

// Reads a binary .x file laid out exactly as this program's model writer lays out the pattern:
// "xof 0303bin 0032", one unnamed Frame with an identity FrameTransformMatrix, holding one
// unnamed Mesh of four-corner faces and its MeshNormals (one normal per vertex, the same faces
// again), and nothing after. The content is what the general reader makes of such a file, bit
// for bit, read several times faster: the pattern view loads a fine grid this way on every
// start. content is changed only when the file was read.
OwnModelRead ReadOwnModelFile(std::string_view bytes, XFileContent& content);

// The material the general reader gives a mesh that names none: grey, lit by the lights only.
Material StandInMaterial();

} // namespace lobex
