#include "CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

CString::CString(const char* text, int length)
{
    if (text && length > 0) m_s.assign(text, static_cast<std::size_t>(length));
}

void CString::FormatV(const char* format, va_list args)
{
    if (!format) { m_s.clear(); return; }
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) { m_s.clear(); return; }
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    m_s.assign(buf.data(), static_cast<std::size_t>(n));
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...)
{
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_s += tail.m_s;
}

int CString::Find(const char* sub, int start) const
{
    if (start < 0 || start > GetLength() || !sub) return -1;
    const std::size_t at = m_s.find(sub, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(char c, int start) const
{
    if (start < 0 || start >= GetLength()) return -1;
    const std::size_t at = m_s.find(c, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char c) const
{
    const std::size_t at = m_s.rfind(c);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CString(m_s.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = std::max(first, 0);
    count = std::max(count, 0);
    if (first >= GetLength()) return CString();
    count = std::min(count, GetLength() - first);
    return CString(m_s.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CString(m_s.substr(m_s.size() - static_cast<std::size_t>(count)));
}

CString& CString::TrimLeft()
{
    std::size_t i = 0;
    while (i < m_s.size() && IsAsciiSpace(m_s[i])) ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char c)
{
    const char chars[2] = {c, '\0'};
    return TrimLeft(chars);
}

CString& CString::TrimLeft(const char* chars)
{
    if (!chars || !*chars) return *this;
    const std::size_t i = m_s.find_first_not_of(chars);
    m_s.erase(0, i == std::string::npos ? m_s.size() : i);
    return *this;
}

CString& CString::TrimRight()
{
    std::size_t n = m_s.size();
    while (n > 0 && IsAsciiSpace(m_s[n - 1])) --n;
    m_s.resize(n);
    return *this;
}

CString& CString::TrimRight(char c)
{
    const char chars[2] = {c, '\0'};
    return TrimRight(chars);
}

CString& CString::TrimRight(const char* chars)
{
    if (!chars || !*chars) return *this;
    const std::size_t i = m_s.find_last_not_of(chars);
    m_s.resize(i == std::string::npos ? 0 : i + 1);
    return *this;
}

CString& CString::MakeUpper()
{
    std::transform(m_s.begin(), m_s.end(), m_s.begin(), AsciiUpper);
    return *this;
}

int CString::Replace(const char* oldText, const char* newText)
{
    if (!oldText || !*oldText) return 0;
    const std::string from(oldText), to(newText ? newText : "");
    int count = 0;
    std::size_t at = 0;
    while ((at = m_s.find(from, at)) != std::string::npos) {
        m_s.replace(at, from.size(), to);
        at += to.size();
        ++count;
    }
    return count;
}

int CString::Replace(char oldChar, char newChar)
{
    int count = 0;
    for (char& c : m_s)
        if (c == oldChar) { c = newChar; ++count; }
    return count;
}

int CString::Insert(int index, const char* text)
{
    index = std::clamp(index, 0, GetLength());
    if (text) m_s.insert(static_cast<std::size_t>(index), text);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    index = std::max(index, 0);
    if (count > 0 && index < GetLength())
        m_s.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
    return GetLength();
}

int CString::Compare(const char* other) const
{
    return std::strcmp(m_s.c_str(), other ? other : "");
}

int CString::CompareNoCase(const char* other) const
{
    const char* a = m_s.c_str();
    const char* b = other ? other : "";
    for (;; ++a, ++b) {
        const auto ca = static_cast<unsigned char>(AsciiLower(*a));
        const auto cb = static_cast<unsigned char>(AsciiLower(*b));
        if (ca != cb || ca == 0) return ca < cb ? -1 : (ca > cb ? 1 : 0);
    }
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) m_s.resize(static_cast<std::size_t>(minLength));
    return m_s.data();
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = static_cast<int>(std::strlen(m_s.c_str()));
    m_s.resize(static_cast<std::size_t>(std::min(newLength, GetLength())));
}
