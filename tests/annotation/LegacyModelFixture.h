#pragma once
// Drawings of versions below 4.0, made for the tests and the example: legacy windows and
// buildings built through the module's own classes into the working drawing, and record bytes
// laid out by hand from the record tables, independent of the classes' Serialize.
#include <cstdint>
#include <string>
#include <vector>

#include "Ge.h"
#include "decObjectId.h"

namespace LegacyModel {

// A legacy window "C..." placed by tm (x along the sill, z up), on the current layer.
decObjectId AddWindow(const char* number, int length, int height, int household, const GeMatrix3d& tm);
// A legacy building made by CQuickBuilding::Set from a clean counter-clockwise world outline,
// placed at its first point with x along its first edge, on the current layer.
decObjectId AddBuilding(int number, const GePoint3dArray& world, int floors, int extraHeight,
                        const std::vector<float>& storeys, const char* name);
// The frame of a window on a facade: origin at the sill's middle, x along it.
GeMatrix3d SillFrame(const GePoint3d& middle, const GeVector3d& along);

// The example drawing examples/old-model.q3d: two legacy buildings (one unnamed) and the
// windows of the first, in a new working drawing.
void BuildExample();

// Little-endian record bytes.
class Bytes {
public:
    Bytes& Int(std::int32_t v);
    Bytes& U64(std::uint64_t v);
    Bytes& Float(float v);
    Bytes& Double(double v);
    Bytes& Bool(bool v);
    Bytes& Raw(const std::string& bytes);
    // A counted text: uint32 length, then the bytes.
    Bytes& Text(const std::string& text);
    Bytes& Point(double x, double y, double z) { return Double(x).Double(y).Double(z); }
    const std::vector<std::uint8_t>& Data() const { return m_data; }

private:
    std::vector<std::uint8_t> m_data;
};

}  // namespace LegacyModel
