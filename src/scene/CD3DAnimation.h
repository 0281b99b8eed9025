#pragma once

#include "D3DMath.h"
#include "XFile.h"

#include <memory>
#include <string>
#include <vector>

namespace lobex {

class CD3DFrame;

// Key-frame animation of one frame, with child animations (the sets of a .x file and the frames
// in them). Times are in the keys' own units, the .x file's ticks.
class CD3DAnimation {
public:
    std::string ObjectName;

    std::shared_ptr<CD3DAnimation> GetChild(int index) const;
    int GetChildCount() const { return static_cast<int>(children_.size()); }
    void AddChild(std::shared_ptr<CD3DAnimation> child);
    // The frame the keys move. What its matrix holds now is kept for the parts (scale,
    // rotation, position) that have no keys.
    void SetFrame(std::shared_ptr<CD3DFrame> frame);
    std::shared_ptr<CD3DFrame> GetFrame() const { return frame_; }
    // Sets the frame's matrix for that time, then the children's frames. Between two keys the
    // position and scale are interpolated linearly and the rotation spherically; before the
    // first key and after the last the nearest key holds.
    void SetTime(double time);
    // Keys may come in any order; they are kept sorted by time.
    void AddRotateKey(double time, Quaternion rotation);
    void AddScaleKey(double time, Vector3 scale);
    void AddPositionKey(double time, Vector3 position);

    // Adds one child per animation set of a .x file, each with one child per animated frame
    // (found by name below root; sets naming no frame of root are kept without a frame).
    void AddAnimationSets(const std::vector<XAnimationSet>& sets, CD3DFrame& root);

private:
    std::vector<std::shared_ptr<CD3DAnimation>> children_;
    std::shared_ptr<CD3DFrame> frame_;
    Vector3 baseScale_{1.0f, 1.0f, 1.0f};
    Quaternion baseRotation_;
    Vector3 basePosition_;
    std::vector<RotateKey> rotateKeys_;
    std::vector<PositionKey> scaleKeys_;
    std::vector<PositionKey> positionKeys_;
};

} // namespace lobex
