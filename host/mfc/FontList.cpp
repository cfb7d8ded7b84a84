#include "FontList.h"

#include <dlfcn.h>

#include <cstring>
#include <map>

#include "Utf8Text.h"

namespace host::mfc {

namespace {

std::optional<std::vector<FontEntry>> g_fonts;
// The machine's fonts as last read; empty until asked for.
std::optional<std::vector<FontEntry>> g_machineFonts;

// The few fontconfig calls the list needs, found at run time so the host runs without the
// library too.
class Fontconfig {
public:
    // The library stays loaded once found: it keeps caches of its own that outlive a query.
    Fontconfig() : m_library(dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}

    std::vector<FontEntry> ChineseFonts() const;

private:
    template <class F>
    F Symbol(const char* name) const
    {
        return reinterpret_cast<F>(dlsym(m_library, name));
    }

    void* m_library;
};

struct FcFontSetView {
    int nfont;
    int sfont;
    void** fonts;
};

std::vector<FontEntry> Fontconfig::ChineseFonts() const
{
    std::vector<FontEntry> out;
    if (!m_library) return out;
    using InitFn = void* (*)();
    using ParseFn = void* (*)(const unsigned char*);
    using BuildFn = void* (*)(const char*, ...);
    using ListFn = FcFontSetView* (*)(void*, void*, void*);
    using GetStringFn = int (*)(void*, const char*, int, unsigned char**);
    using DestroyFn = void (*)(void*);
    const auto init = Symbol<InitFn>("FcInitLoadConfigAndFonts");
    const auto parse = Symbol<ParseFn>("FcNameParse");
    const auto build = Symbol<BuildFn>("FcObjectSetBuild");
    const auto list = Symbol<ListFn>("FcFontList");
    const auto getString = Symbol<GetStringFn>("FcPatternGetString");
    const auto destroySet = Symbol<DestroyFn>("FcFontSetDestroy");
    const auto destroyObjects = Symbol<DestroyFn>("FcObjectSetDestroy");
    const auto destroyPattern = Symbol<DestroyFn>("FcPatternDestroy");
    const auto destroyConfig = Symbol<DestroyFn>("FcConfigDestroy");
    if (!init || !parse || !build || !list || !getString || !destroySet || !destroyObjects || !destroyPattern ||
        !destroyConfig)
        return out;

    void* config = init();
    if (!config) return out;
    void* pattern = parse(reinterpret_cast<const unsigned char*>(":lang=zh-cn"));
    void* objects = build("family", "fullname", "style", "fontformat", static_cast<char*>(nullptr));
    FcFontSetView* set = (pattern && objects) ? list(config, pattern, objects) : nullptr;
    // One entry per family, named after its upright face where it has one.
    std::map<std::string, std::size_t> byFamily;
    for (int i = 0; set && i < set->nfont; ++i) {
        const auto text = [&](const char* object) {
            unsigned char* value = nullptr;
            return getString(set->fonts[i], object, 0, &value) == 0 && value ? std::string(reinterpret_cast<char*>(value))
                                                                               : std::string();
        };
        const std::string family = text("family");
        if (family.empty()) continue;
        const std::string full = text("fullname");
        const std::string style = text("style");
        const bool upright = style == "Regular" || style == "Book" || style == "Normal" || style == "Roman";
        const bool outline = text("fontformat") == "TrueType" || text("fontformat") == "CFF";
        FontEntry entry{full.empty() ? family : full, family, outline ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE,
                        GB2312_CHARSET};
        const auto [it, added] = byFamily.emplace(family, out.size());
        if (added)
            out.push_back(std::move(entry));
        else if (upright)
            out[it->second] = std::move(entry);
    }
    if (set) destroySet(set);
    if (objects) destroyObjects(objects);
    if (pattern) destroyPattern(pattern);
    destroyConfig(config);
    return out;
}

int g_screenDc;

}  // namespace

void SetFontSource(std::optional<std::vector<FontEntry>> fonts)
{
    g_fonts = std::move(fonts);
}

const std::vector<FontEntry>& AvailableFonts()
{
    if (g_fonts) return *g_fonts;
    if (!g_machineFonts) {
        static const Fontconfig fontconfig;
        g_machineFonts = fontconfig.ChineseFonts();
    }
    return *g_machineFonts;
}

void RefreshFonts()
{
    g_machineFonts.reset();
}

}  // namespace host::mfc

HDC GetDC(HWND /*window*/)
{
    return reinterpret_cast<HDC>(&host::mfc::g_screenDc);
}

int ReleaseDC(HWND /*window*/, HDC dc)
{
    return dc ? 1 : 0;
}

int EnumFontFamiliesExA(HDC /*dc*/, LOGFONTA* font, FONTENUMPROCA proc, LPARAM parameter, DWORD /*flags*/)
{
    if (!font || !proc) return 0;
    const std::string wantedFace(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
    int last = 1;
    for (const host::mfc::FontEntry& f : host::mfc::AvailableFonts()) {
        if (font->lfCharSet != DEFAULT_CHARSET && f.charSet != font->lfCharSet) continue;
        if (!wantedFace.empty() && f.faceName != wantedFace) continue;
        ENUMLOGFONTEXA record;
        record.elfLogFont.lfCharSet = f.charSet;
        zo_strncpy(record.elfLogFont.lfFaceName, f.faceName.c_str(), LF_FACESIZE - 1);
        zo_strncpy(record.elfFullName, f.fullName.c_str(), LF_FULLFACESIZE - 1);
        TEXTMETRICA metrics;
        metrics.tmCharSet = f.charSet;
        last = proc(&record.elfLogFont, &metrics, f.type, parameter);
        if (last == 0) break;
    }
    return last;
}
