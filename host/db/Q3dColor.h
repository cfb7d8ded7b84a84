#pragma once
// A colour word 0x00BBGGRR (red in the low byte), as Windows keeps colours.
#include <cstdint>

class Q3dColor {
public:
    Q3dColor() = default;
    Q3dColor(std::uint32_t colour) : m_colour(colour & 0xFFFFFFu) {}

    void SetColor(std::uint32_t colour) { m_colour = colour & 0xFFFFFFu; }
    std::uint32_t GetColor() const { return m_colour; }
    operator std::uint32_t() const { return m_colour; }

    int Red() const { return static_cast<int>(m_colour & 0xFF); }
    int Green() const { return static_cast<int>((m_colour >> 8) & 0xFF); }
    int Blue() const { return static_cast<int>((m_colour >> 16) & 0xFF); }

private:
    std::uint32_t m_colour = 0xFFFFFF;
};
