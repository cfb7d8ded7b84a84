#include "LegacyRecordText.h"

#include <string>
#include <string_view>

#include "Utf8Text.h"

namespace {

// The byte length of the old versions' text buffer, its terminator included.
constexpr std::size_t kTextBuffer = 128;

}  // namespace

void WriteLegacyText(SerializeFilter& filter, const CString& text)
{
    filter << text.GetLength();
    filter.Write(text.GetString(), static_cast<unsigned>(text.GetLength()));
}

CString ReadLegacyText(SerializeFilter& filter)
{
    // A negative count reads as a count far beyond the record and is refused with it.
    const std::uint32_t count = filter.ReadCount(1);
    std::string bytes(count, '\0');
    if (count > 0)
        filter.Read(bytes.data(), count);
    std::string_view text(bytes);
    text = text.substr(0, text.find('\0'));
    return CString(std::string(text.substr(0, host::Utf8PrefixLength(text, kTextBuffer - 1))));
}
