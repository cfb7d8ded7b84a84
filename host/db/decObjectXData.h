#pragma once
// Extended data: named records of string and long items that any application may attach
// to an object. They are saved with the drawing.
#include <string>
#include <vector>

class decObjectXData {
public:
    enum Type { kString = 1, kLong = 2 };

    static decObjectXData String(const char* text);
    static decObjectXData Long(long value);

    int IsTypeString() const { return m_type == kString; }
    int IsTypeLong() const { return m_type == kLong; }
    Type GetType() const { return m_type; }
    const char* GetString() const { return m_text.c_str(); }
    long GetLong() const { return m_value; }

    friend bool operator==(const decObjectXData&, const decObjectXData&) = default;

private:
    Type m_type = kString;
    std::string m_text;
    long m_value = 0;
};

// One application's record on an object: its name and items in order.
class decObjectXDataApp {
public:
    explicit decObjectXDataApp(const char* appName) : m_name(appName ? appName : "") {}

    const char* GetAppName() const { return m_name.c_str(); }
    void AppendDataString(const char* text) { m_items.push_back(decObjectXData::String(text)); }
    void AppendDataLong(long value) { m_items.push_back(decObjectXData::Long(value)); }
    void Append(const decObjectXData& item) { m_items.push_back(item); }

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // Item i; null when out of range.
    const decObjectXData* GetAt(int i) const;
    const std::vector<decObjectXData>& Items() const { return m_items; }

    friend bool operator==(const decObjectXDataApp&, const decObjectXDataApp&) = default;

private:
    std::string m_name;
    std::vector<decObjectXData> m_items;
};
