// Applicability bits: the 125 bytes that say which vehicles of a catalogue an
// illustration page fits (pxall/buinde_layout.h, bytes 30-154 of a page) and
// which of them the current vehicle is (current-vehicle block 215,
// blocks.h). A page fits the vehicle when the two share a set bit.
//
// One rule for every writer of these bytes, the data-set builder and the
// vehicle identification alike: position k is bit k % 8 of byte k / 8, and
// the position of a frame model is its place among the catalogue's frame
// models taken in ascending order, each once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace pxall::applicability {

constexpr size_t kSize = 125;
constexpr int kPositions = static_cast<int>(kSize) * 8;

// Sets position k in the kSize bytes of bits; false for a k outside.
inline bool set_position(unsigned char* bits, int k) {
    if (bits == nullptr || k < 0 || k >= kPositions) return false;
    bits[k / 8] = static_cast<unsigned char>(bits[k / 8] | (1u << (k % 8)));
    return true;
}

// The position of frame_model among the catalogue's frame models (in any
// order, repeats allowed), or -1 when the catalogue does not list it.
inline int frame_model_position(std::vector<std::string> frame_models, const std::string& frame_model) {
    std::sort(frame_models.begin(), frame_models.end());
    frame_models.erase(std::unique(frame_models.begin(), frame_models.end()), frame_models.end());
    auto it = std::find(frame_models.begin(), frame_models.end(), frame_model);
    return it == frame_models.end() ? -1 : static_cast<int>(it - frame_models.begin());
}

// The bits of the vehicles with any of `wanted` among the catalogue's frame
// models: kSize bytes, all zero when none of them is listed.
inline std::string frame_model_bits(const std::vector<std::string>& frame_models,
                                    const std::vector<std::string>& wanted) {
    std::string bits(kSize, '\0');
    for (const std::string& fm : wanted)
        set_position(reinterpret_cast<unsigned char*>(bits.data()), frame_model_position(frame_models, fm));
    return bits;
}

}  // namespace pxall::applicability
