#pragma once
// The property panel protocol: an object lists its rows (TPropertyDef, ended by an
// all-zero row); the panel reads and writes values by row index through prop_data.
#include <string>
#include <vector>

// One row: group, name, prompt, the index passed back to the object, the kind
// (1 integer, 2 real, 3 check box, 4 text, 5 drop-down list, 7 pick in the drawing), a
// read-only flag and a display setting the panel carries.
struct TPropertyDef {
    const char* group;
    const char* name;
    const char* prompt;
    int index;
    int kind;
    int readOnly;
    int display;
};

// A value: its type code, then the value. Text holds at most 200 bytes (filled with
// zo_strncpy, cut on a character boundary) and a terminating NUL.
struct prop_data {
    enum { kInteger = 1, kReal = 2, kText = 5 };
    static constexpr int kTextLimit = 200;

    int type = 0;
    long lValue = 0;
    double dValue = 0.0;
    char szValue[kTextLimit + 1] = {};

    void SetLong(long v) { type = kInteger; lValue = v; }
    void SetDouble(double v) { type = kReal; dValue = v; }
    // Copies at most 200 bytes on a character boundary.
    void SetText(const char* text);
};

// Entries of a drop-down row, in order; an entry's position is the row's value.
class TPropertyComboBoxData {
public:
    void AddString(const char* text) { m_entries.emplace_back(text ? text : ""); }
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const std::vector<std::string>& Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};
