#include "StdioFile.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "Utf8Text.h"

namespace {

// Lines ReadString still reads before it fails; negative: no failure planned.
int g_readsBeforeFailure = -1;

int CauseOf(int osError)
{
    switch (osError) {
    case ENOENT: return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return CFileException::badPath;
    case EACCES:
    case EPERM:
    case EROFS: return CFileException::accessDenied;
    case EMFILE:
    case ENFILE: return CFileException::tooManyOpenFiles;
    case EISDIR: return CFileException::invalidFile;
    case ENOSPC: return CFileException::diskFull;
    case EIO: return CFileException::hardIO;
    default: return CFileException::genericException;
    }
}

const char* ModeOf(UINT flags)
{
    const bool binary = flags & CFile::typeBinary;
    if (flags & CFile::modeReadWrite) {
        if (flags & CFile::modeCreate) return (flags & CFile::modeNoTruncate) ? (binary ? "a+b" : "a+") : (binary ? "w+b" : "w+");
        return binary ? "r+b" : "r+";
    }
    if (flags & CFile::modeWrite) {
        if ((flags & CFile::modeCreate) && !(flags & CFile::modeNoTruncate)) return binary ? "wb" : "w";
        return binary ? "ab" : "a";
    }
    return binary ? "rb" : "r";
}

}  // namespace

CFileException::CFileException(int cause, LONG osError, const char* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
}

BOOL CFileException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const
{
    if (helpContext) *helpContext = 0;
    if (!buffer || maxChars == 0) return FALSE;
    std::string text = "file error " + std::to_string(m_cause);
    if (!m_strFileName.IsEmpty()) text += " on " + m_strFileName.str();
    if (m_lOsError > 0) text += std::string(": ") + std::strerror(static_cast<int>(m_lOsError));
    zo_strncpy(buffer, text.c_str(), static_cast<int>(maxChars) - 1);
    return TRUE;
}

CStdioFile::CStdioFile(const char* path, UINT flags)
{
    CFileException error;
    if (!Open(path, flags, &error)) throw new CFileException(error);
}

CStdioFile::~CStdioFile()
{
    Close();
}

BOOL CStdioFile::Open(const char* path, UINT flags, CFileException* error)
{
    Close();
    m_path = path;
    errno = 0;
    m_file = path ? std::fopen(path, ModeOf(flags)) : nullptr;
    if (m_file) return TRUE;
    if (error) {
        const int os = path ? errno : ENOENT;
        *error = CFileException(CauseOf(os), os, path);
    }
    return FALSE;
}

void CStdioFile::Close()
{
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

namespace host::mfc {

void FailReadsAfter(int lines)
{
    g_readsBeforeFailure = lines;
}

}  // namespace host::mfc

BOOL CStdioFile::ReadString(CString& line)
{
    line.Empty();
    if (!m_file) throw new CFileException(CFileException::genericException, -1, m_path);
    if (g_readsBeforeFailure == 0) throw new CFileException(CFileException::hardIO, EIO, m_path);
    if (g_readsBeforeFailure > 0) --g_readsBeforeFailure;
    std::string text;
    bool any = false;
    errno = 0;
    for (int c; (c = std::fgetc(m_file)) != EOF;) {
        any = true;
        if (c == '\n') break;
        text += static_cast<char>(c);
    }
    if (std::ferror(m_file)) {
        const int os = errno;
        std::clearerr(m_file);
        throw new CFileException(CauseOf(os), os, m_path);
    }
    if (!text.empty() && text.back() == '\r') text.pop_back();
    line = CString(std::move(text));
    return any ? TRUE : FALSE;
}

void CStdioFile::WriteString(const char* text)
{
    if (!m_file) throw new CFileException(CFileException::genericException, -1, m_path);
    if (text && std::fputs(text, m_file) == EOF) {
        const int os = errno;
        throw new CFileException(CauseOf(os), os, m_path);
    }
}
