#pragma once
// The stream an object writes itself to and reads itself from. One Serialize routine does
// both directions (IsStoring). Encoding, the same for files and memory: little-endian
// int32/uint32 (int, unsigned, long, unsigned long: long values are stored in 32 bits as on
// the host's original platform, wider values clamped), float and double as IEEE bits, bool as one byte,
// CString as a uint32 byte count and the UTF-8 bytes, points and vectors as three doubles,
// raw runs as they are.
//
// Reading past the end of the record, a text longer than what is left, or (from a file) a
// float or double that is not finite throws host::RecordError; the drawing loader catches it
// and refuses the file. No drawing holds an infinite or undefined coordinate, length or
// scale, so a file that does is damaged. Writing such a number to a file throws the same, so
// what a save writes an open reads: the saver names the object and writes nothing.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "CString.h"

class GePoint3d;
class GeVector3d;

namespace host {
class RecordError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
}  // namespace host

class SerializeFilter {
public:
    virtual ~SerializeFilter() = default;

    virtual int IsStoring() const = 0;
    virtual void Write(const void* buffer, unsigned count) = 0;
    virtual void Read(void* buffer, unsigned count) = 0;

    // Non-zero for a drawing file, zero for memory streams (undo, copy).
    int IsFileSerialize() const { return m_file ? 1 : 0; }
    // The class version stored for the object's class when it was written (the current
    // version while storing).
    unsigned GetClassVersion() const { return m_classVersion; }
    void SetClassVersion(unsigned version) { m_classVersion = version; }

    // Bytes left to read: a reader checks a claimed count against it before allocating.
    // A stream that cannot tell answers the largest size.
    virtual std::size_t BytesLeft() const { return static_cast<std::size_t>(-1); }

    SerializeFilter& operator<<(int v);
    SerializeFilter& operator<<(unsigned v);
    SerializeFilter& operator<<(long v);
    SerializeFilter& operator<<(unsigned long v);
    SerializeFilter& operator<<(float v);
    SerializeFilter& operator<<(double v);
    SerializeFilter& operator<<(bool v);
    SerializeFilter& operator<<(const CString& v);
    SerializeFilter& operator<<(const char* v);
    SerializeFilter& operator<<(const GePoint3d& v);
    SerializeFilter& operator<<(const GeVector3d& v);

    SerializeFilter& operator>>(int& v);
    SerializeFilter& operator>>(unsigned& v);
    SerializeFilter& operator>>(long& v);
    SerializeFilter& operator>>(unsigned long& v);
    SerializeFilter& operator>>(float& v);
    SerializeFilter& operator>>(double& v);
    SerializeFilter& operator>>(bool& v);
    SerializeFilter& operator>>(CString& v);
    SerializeFilter& operator>>(GePoint3d& v);
    SerializeFilter& operator>>(GeVector3d& v);

    // Stores the fields in order while storing, else loads them in the same order, so one
    // line serves both directions.
    template <class... Fields>
    void Transfer(Fields&... fields)
    {
        if (IsStoring())
            (*this << ... << fields);
        else
            (*this >> ... >> fields);
    }

    // 64-bit numbers (identifiers).
    void WriteU64(std::uint64_t v);
    std::uint64_t ReadU64();

    // A count read from the stream, refused when the items it claims (each at least
    // itemBytes long) cannot fit into what is left.
    std::uint32_t ReadCount(std::size_t itemBytes);

protected:
    explicit SerializeFilter(bool file) : m_file(file) {}

private:
    void RefuseNonFinite(double v) const;

    bool m_file;
    unsigned m_classVersion = 0;
};

// Writes into a growing byte buffer.
class StoreFilter : public SerializeFilter {
public:
    explicit StoreFilter(bool file = false) : SerializeFilter(file) {}

    int IsStoring() const override { return 1; }
    void Write(const void* buffer, unsigned count) override;
    void Read(void* buffer, unsigned count) override;

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Reads from a byte run it does not own.
class LoadFilter : public SerializeFilter {
public:
    explicit LoadFilter(std::span<const std::uint8_t> bytes, bool file = false)
        : SerializeFilter(file), m_bytes(bytes) {}

    int IsStoring() const override { return 0; }
    void Write(const void* buffer, unsigned count) override;
    void Read(void* buffer, unsigned count) override;
    std::size_t BytesLeft() const override { return m_bytes.size() - m_pos; }
    std::size_t Position() const { return m_pos; }
    // The next count bytes, without copying; throws when fewer are left.
    std::span<const std::uint8_t> Take(std::size_t count);

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

// Memory streams for undo and copy: IsFileSerialize() is 0.
class MemorySerializeFilter : public StoreFilter {
public:
    MemorySerializeFilter() : StoreFilter(false) {}
};
