#pragma once
// Files: CFile's open flags, CStdioFile for text lines, and CFileException, which the file
// classes throw (as a pointer, released with Delete) when a file cannot be opened or read.
#include <cstdio>

#include "CString.h"
#include "WinTypes.h"

class CFileException {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    CFileException(int cause = none, LONG osError = -1, const char* fileName = nullptr);
    virtual ~CFileException() = default;

    // Releases an exception that was thrown as a pointer.
    void Delete() { delete this; }
    // A readable description (cut on a character boundary to fit maxChars, NUL included).
    BOOL GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext = nullptr) const;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
};

class CStdioFile : public CFile {
public:
    CStdioFile() = default;
    // Opens the file or throws a CFileException*.
    CStdioFile(const char* path, UINT flags);
    ~CStdioFile();
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // FALSE when the file cannot be opened; the reason goes into error when one is given.
    BOOL Open(const char* path, UINT flags, CFileException* error = nullptr);
    void Close();

    // The next line without its end (a LF, and a CR before it); FALSE at the end of the file,
    // with the line empty. A read error throws a CFileException*.
    BOOL ReadString(CString& line);
    // Writes the text as it is (throws on a write error).
    void WriteString(const char* text);

private:
    std::FILE* m_file = nullptr;
    CString m_path;
};

namespace host::mfc {

// A test hook for read errors in the middle of a file, which a real file cannot be made to
// give on demand: after `lines` more ReadString calls (of any file) every further call
// throws the CFileException* (hardIO) a failing disk gives. A negative count clears it.
void FailReadsAfter(int lines);

}  // namespace host::mfc
