#pragma once
// What the fuzzer and the replay of its corpus ask of any bytes, with the module's classes
// registered: the loader refuses them, or it reads a drawing whose every entity can be drawn,
// measured, enumerated and listed in the property panel, whose pictures are drawn as UTF-8, and
// which, after a few edits of every object's property rows (values drawn from the bytes,
// refused ones among them), saves into bytes that load again. The checksum is not tested, so that altered bytes reach the records' own readers.
#include <cstdint>
#include <span>
#include <string>

namespace fuzz {

// Prepares the host for many inputs in one process (quiet access checks, a fixed font list).
void PrepareHost();

// false with the fault when the bytes broke a promise above; true when they were refused or
// read soundly.
bool ReadAnyDrawing(std::span<const std::uint8_t> bytes, std::string& fault);

}  // namespace fuzz
