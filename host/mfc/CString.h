#pragma once
// CString: a byte string (UTF-8 text) with the MFC member names the module uses.
// Indexes and lengths count bytes, as in the multibyte original. Counts out of range are
// clamped the way MFC clamps them: a negative count gives an empty string, never a throw.
#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_s(text ? text : "") {}
    CString(const char* text, int length);
    CString(std::string_view text) : m_s(text) {}
    CString(std::string text) : m_s(std::move(text)) {}
    CString(char c, int repeat = 1) : m_s(repeat > 0 ? static_cast<std::size_t>(repeat) : 0, c) {}

    CString& operator=(const char* text) { m_s = text ? text : ""; return *this; }
    CString& operator=(std::string_view text) { m_s = text; return *this; }
    CString& operator=(char c) { m_s.assign(1, c); return *this; }

    operator const char*() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }

    char GetAt(int i) const { return m_s.at(static_cast<std::size_t>(i)); }
    void SetAt(int i, char c) { m_s.at(static_cast<std::size_t>(i)) = c; }
    char operator[](int i) const { return GetAt(i); }

    // printf-style formatting; replaces the content.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Byte index of the first occurrence at or after start, or -1 (also for a start outside
    // 0..length).
    int Find(const char* sub, int start = 0) const;
    int Find(char c, int start = 0) const;
    int ReverseFind(char c) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // Trimming and case mapping touch ASCII only, so multibyte text is never altered.
    CString& TrimLeft();
    CString& TrimLeft(char c);
    CString& TrimLeft(const char* chars);
    CString& TrimRight();
    CString& TrimRight(char c);
    CString& TrimRight(const char* chars);
    CString& Trim() { TrimRight(); return TrimLeft(); }
    CString& MakeUpper();

    int Replace(const char* oldText, const char* newText);
    int Replace(char oldChar, char newChar);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    // Byte-wise comparison: <0, 0, >0.
    int Compare(const char* other) const;
    int CompareNoCase(const char* other) const;

    // Direct access to the bytes, as MFC's buffer protocol: GetBuffer gives room for at least
    // minLength bytes; ReleaseBuffer takes the text up to the first NUL (or newLength bytes).
    char* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

    CString& operator+=(const CString& other) { m_s += other.m_s; return *this; }
    CString& operator+=(const char* text) { if (text) m_s += text; return *this; }
    CString& operator+=(char c) { m_s += c; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
    friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }

    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_s <=> b.m_s; }

private:
    std::string m_s;
};
