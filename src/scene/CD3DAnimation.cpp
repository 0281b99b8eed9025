#include "CD3DAnimation.h"

#include "CD3DFrame.h"

#include <algorithm>

namespace lobex {
namespace {

template <typename Key>
void InsertSorted(std::vector<Key>& keys, Key key) {
    const auto at = std::upper_bound(keys.begin(), keys.end(), key.Time,
                                     [](double time, const Key& k) { return time < k.Time; });
    keys.insert(at, key);
}

// The two keys around a time and how far between them it lies (0 at the first, 1 at the second).
template <typename Key>
void Bracket(const std::vector<Key>& keys, double time, const Key*& before, const Key*& after,
             float& fraction) {
    const auto next = std::upper_bound(keys.begin(), keys.end(), time,
                                       [](double t, const Key& k) { return t < k.Time; });
    if (next == keys.begin()) {
        before = after = &keys.front();
        fraction = 0.0f;
        return;
    }
    if (next == keys.end()) {
        before = after = &keys.back();
        fraction = 0.0f;
        return;
    }
    after = &*next;
    before = &*(next - 1);
    const double span = after->Time - before->Time;
    fraction = span > 0.0 ? static_cast<float>((time - before->Time) / span) : 0.0f;
}

Vector3 Interpolate(const std::vector<PositionKey>& keys, double time) {
    const PositionKey* before = nullptr;
    const PositionKey* after = nullptr;
    float fraction = 0.0f;
    Bracket(keys, time, before, after, fraction);
    return Vec3Lerp(before->Value, after->Value, fraction);
}

Quaternion Interpolate(const std::vector<RotateKey>& keys, double time) {
    const RotateKey* before = nullptr;
    const RotateKey* after = nullptr;
    float fraction = 0.0f;
    Bracket(keys, time, before, after, fraction);
    return QuaternionSlerp(before->Value, after->Value, fraction);
}

} // namespace

std::shared_ptr<CD3DAnimation> CD3DAnimation::GetChild(int index) const {
    if (index < 0 || index >= GetChildCount()) {
        return nullptr;
    }
    return children_[static_cast<std::size_t>(index)];
}

void CD3DAnimation::AddChild(std::shared_ptr<CD3DAnimation> child) {
    if (child != nullptr && child.get() != this) {
        children_.push_back(std::move(child));
    }
}

void CD3DAnimation::SetFrame(std::shared_ptr<CD3DFrame> frame) {
    frame_ = std::move(frame);
    if (frame_ == nullptr) {
        return;
    }
    const Matrix& m = frame_->GetMatrix();
    baseScale_ = {Vec3Length({m(0, 0), m(0, 1), m(0, 2)}), Vec3Length({m(1, 0), m(1, 1), m(1, 2)}),
                  Vec3Length({m(2, 0), m(2, 1), m(2, 2)})};
    baseRotation_ = QuaternionRotationMatrix(m);
    basePosition_ = {m(3, 0), m(3, 1), m(3, 2)};
}

void CD3DAnimation::SetTime(double time) {
    if (frame_ != nullptr &&
        (!rotateKeys_.empty() || !scaleKeys_.empty() || !positionKeys_.empty())) {
        const Vector3 scale = scaleKeys_.empty() ? baseScale_ : Interpolate(scaleKeys_, time);
        const Quaternion rotation =
            rotateKeys_.empty() ? baseRotation_ : Interpolate(rotateKeys_, time);
        const Vector3 position =
            positionKeys_.empty() ? basePosition_ : Interpolate(positionKeys_, time);
        frame_->SetMatrix(MatrixScaling(scale.x, scale.y, scale.z) *
                          MatrixRotationQuaternion(rotation) *
                          MatrixTranslation(position.x, position.y, position.z));
    }
    for (const auto& child : children_) {
        child->SetTime(time);
    }
}

void CD3DAnimation::AddRotateKey(double time, Quaternion rotation) {
    InsertSorted(rotateKeys_, RotateKey{time, rotation});
}

void CD3DAnimation::AddScaleKey(double time, Vector3 scale) {
    InsertSorted(scaleKeys_, PositionKey{time, scale});
}

void CD3DAnimation::AddPositionKey(double time, Vector3 position) {
    InsertSorted(positionKeys_, PositionKey{time, position});
}

void CD3DAnimation::AddAnimationSets(const std::vector<XAnimationSet>& sets, CD3DFrame& root) {
    for (const XAnimationSet& set : sets) {
        auto setAnimation = std::make_shared<CD3DAnimation>();
        setAnimation->ObjectName = set.Name;
        for (const XAnimationObject& keys : set.Animations) {
            auto animation = std::make_shared<CD3DAnimation>();
            animation->ObjectName = keys.FrameName;
            if (CD3DFrame* frame = root.FindChildObject(keys.FrameName)) {
                animation->SetFrame(frame->shared_from_this());
            }
            for (const RotateKey& key : keys.RotateKeys) {
                animation->AddRotateKey(key.Time, key.Value);
            }
            for (const PositionKey& key : keys.ScaleKeys) {
                animation->AddScaleKey(key.Time, key.Value);
            }
            for (const PositionKey& key : keys.PositionKeys) {
                animation->AddPositionKey(key.Time, key.Value);
            }
            setAnimation->AddChild(std::move(animation));
        }
        AddChild(std::move(setAnimation));
    }
}

} // namespace lobex
