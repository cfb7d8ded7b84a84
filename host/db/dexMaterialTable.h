#pragma once
// Materials of a drawing: solid colours and images. Ids start at 1; 0 means "no material"
// and is also the answer for a name that is not found.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decObject.h"

class dexMaterialObj {
public:
    enum Kind { kSolidColor = 1, kBitmap = 2 };

    virtual ~dexMaterialObj() = default;
    virtual Kind GetKind() const = 0;

    void SetName(const char* name) { m_name = name ? name : ""; }
    const char* GetName() const { return m_name.c_str(); }
    long GetMatId() const { return m_id; }

    void SetColor(std::uint32_t colour) { m_colour = colour & 0xFFFFFFu; }
    std::uint32_t GetColor() const { return m_colour; }
    // Transparency (0 opaque .. 1 clear) and the host's flag that comes with it.
    void SetTransparent(float value, bool flag) { m_transparency = value; m_transparencyFlag = flag; }
    float GetTransparent() const { return m_transparency; }
    bool GetTransparentFlag() const { return m_transparencyFlag; }

private:
    friend class dexMaterialTable;
    long m_id = 0;
    std::string m_name;
    std::uint32_t m_colour = 0xFFFFFF;
    float m_transparency = 0.0f;
    bool m_transparencyFlag = false;
};

class dexMaterialSolidColor : public dexMaterialObj {
public:
    Kind GetKind() const override { return kSolidColor; }
};

class dexMaterialBitmap : public dexMaterialObj {
public:
    Kind GetKind() const override { return kBitmap; }
    void SetImageFilePath(const char* path) { m_path = path ? path : ""; }
    const char* GetImageFilePath() const { return m_path.c_str(); }

private:
    std::string m_path;
};

class dexMaterialTable : public decObject {
    DEC_DECLARE_CLASS(dexMaterialTable)

public:
    // The id of the first material of that name, or 0.
    long GetIdByName(const char* name) const;
    dexMaterialObj* GetById(long id) const;
    // Takes ownership and gives the material the next id. -2; 0 for null.
    int CreateNewMatObj(dexMaterialObj* material, int flag = 0);

    int GetCount() const { return static_cast<int>(m_materials.size()); }
    const std::vector<std::unique_ptr<dexMaterialObj>>& Materials() const { return m_materials; }

    // For the drawing loader: a material with its stored id.
    void Restore(std::unique_ptr<dexMaterialObj> material, long id);
    void Clear() { m_materials.clear(); m_nextId = 1; }
    void Swap(dexMaterialTable& other)
    {
        std::swap(m_materials, other.m_materials);
        std::swap(m_nextId, other.m_nextId);
    }

private:
    std::vector<std::unique_ptr<dexMaterialObj>> m_materials;
    long m_nextId = 1;
};
