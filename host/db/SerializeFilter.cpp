#include "SerializeFilter.h"

#include <bit>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "GePoint3d.h"
#include "GeVector3d.h"

namespace {

template <class T>
void PutLittle(SerializeFilter& f, T value)
{
    std::uint8_t bytes[sizeof(T)];
    using U = std::make_unsigned_t<T>;
    U u = static_cast<U>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes[i] = static_cast<std::uint8_t>(u & 0xFF);
        u = static_cast<U>(u >> 8);
    }
    f.Write(bytes, sizeof(T));
}

template <class T>
T GetLittle(SerializeFilter& f)
{
    std::uint8_t bytes[sizeof(T)];
    f.Read(bytes, sizeof(T));
    using U = std::make_unsigned_t<T>;
    U u = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) u = static_cast<U>((u << 8) | bytes[i]);
    return static_cast<T>(u);
}

}  // namespace

SerializeFilter& SerializeFilter::operator<<(int v) { PutLittle<std::int32_t>(*this, v); return *this; }
SerializeFilter& SerializeFilter::operator<<(unsigned v) { PutLittle<std::uint32_t>(*this, v); return *this; }
SerializeFilter& SerializeFilter::operator<<(long v)
{
    // Stored in 32 bits as on the host's original platform; wider values are clamped.
    const long clamped = v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v);
    PutLittle<std::int32_t>(*this, static_cast<std::int32_t>(clamped));
    return *this;
}
SerializeFilter& SerializeFilter::operator<<(unsigned long v)
{
    PutLittle<std::uint32_t>(*this, static_cast<std::uint32_t>(v > UINT32_MAX ? UINT32_MAX : v));
    return *this;
}
SerializeFilter& SerializeFilter::operator<<(float v)
{
    RefuseNonFinite(v);
    PutLittle<std::uint32_t>(*this, std::bit_cast<std::uint32_t>(v));
    return *this;
}
SerializeFilter& SerializeFilter::operator<<(double v)
{
    RefuseNonFinite(v);
    PutLittle<std::uint64_t>(*this, std::bit_cast<std::uint64_t>(v));
    return *this;
}
SerializeFilter& SerializeFilter::operator<<(bool v) { PutLittle<std::uint8_t>(*this, v ? 1 : 0); return *this; }
void SerializeFilter::WriteU64(std::uint64_t v) { PutLittle<std::uint64_t>(*this, v); }

SerializeFilter& SerializeFilter::operator<<(const CString& v)
{
    PutLittle<std::uint32_t>(*this, static_cast<std::uint32_t>(v.GetLength()));
    if (v.GetLength() > 0) Write(v.GetString(), static_cast<unsigned>(v.GetLength()));
    return *this;
}
SerializeFilter& SerializeFilter::operator<<(const char* v) { return *this << CString(v); }
SerializeFilter& SerializeFilter::operator<<(const GePoint3d& v) { return *this << v.x << v.y << v.z; }
SerializeFilter& SerializeFilter::operator<<(const GeVector3d& v) { return *this << v.x << v.y << v.z; }

SerializeFilter& SerializeFilter::operator>>(int& v) { v = GetLittle<std::int32_t>(*this); return *this; }
SerializeFilter& SerializeFilter::operator>>(unsigned& v) { v = GetLittle<std::uint32_t>(*this); return *this; }
SerializeFilter& SerializeFilter::operator>>(long& v) { v = GetLittle<std::int32_t>(*this); return *this; }
SerializeFilter& SerializeFilter::operator>>(unsigned long& v) { v = GetLittle<std::uint32_t>(*this); return *this; }
SerializeFilter& SerializeFilter::operator>>(float& v)
{
    v = std::bit_cast<float>(GetLittle<std::uint32_t>(*this));
    RefuseNonFinite(v);
    return *this;
}
SerializeFilter& SerializeFilter::operator>>(double& v)
{
    v = std::bit_cast<double>(GetLittle<std::uint64_t>(*this));
    RefuseNonFinite(v);
    return *this;
}

// One check for both directions of a file stream, so a save never writes what an open refuses.
void SerializeFilter::RefuseNonFinite(double v) const
{
    if (m_file && !std::isfinite(v))
        throw host::RecordError(IsStoring() ? "a number to be stored is not finite" : "a stored number is not finite");
}
std::uint64_t SerializeFilter::ReadU64() { return GetLittle<std::uint64_t>(*this); }
SerializeFilter& SerializeFilter::operator>>(bool& v)
{
    const std::uint8_t b = GetLittle<std::uint8_t>(*this);
    if (b > 1) throw host::RecordError("a yes/no value is neither 0 nor 1");
    v = b != 0;
    return *this;
}

SerializeFilter& SerializeFilter::operator>>(CString& v)
{
    const std::uint32_t length = ReadCount(1);
    std::string text(length, '\0');
    if (length > 0) Read(text.data(), length);
    v = CString(std::move(text));
    return *this;
}
SerializeFilter& SerializeFilter::operator>>(GePoint3d& v) { return *this >> v.x >> v.y >> v.z; }
SerializeFilter& SerializeFilter::operator>>(GeVector3d& v) { return *this >> v.x >> v.y >> v.z; }

std::uint32_t SerializeFilter::ReadCount(std::size_t itemBytes)
{
    const std::uint32_t count = GetLittle<std::uint32_t>(*this);
    if (itemBytes > 0 && count > BytesLeft() / itemBytes)
        throw host::RecordError("a count of " + std::to_string(count) + " claims more than the record holds");
    return count;
}

void StoreFilter::Write(const void* buffer, unsigned count)
{
    if (count == 0) return;
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    m_bytes.insert(m_bytes.end(), p, p + count);
}

void StoreFilter::Read(void*, unsigned)
{
    throw std::logic_error("a storing stream cannot be read");
}

void LoadFilter::Write(const void*, unsigned)
{
    throw std::logic_error("a loading stream cannot be written");
}

void LoadFilter::Read(void* buffer, unsigned count)
{
    const auto bytes = Take(count);
    if (count > 0) std::memcpy(buffer, bytes.data(), count);
}

std::span<const std::uint8_t> LoadFilter::Take(std::size_t count)
{
    if (count > BytesLeft())
        throw host::RecordError("the record ends " + std::to_string(count - BytesLeft()) + " bytes early");
    const auto run = m_bytes.subspan(m_pos, count);
    m_pos += count;
    return run;
}
