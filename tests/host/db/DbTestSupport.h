#pragma once
// Test classes and helpers shared by the database tests.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DbDatabase.h"
#include "GeMatrix3d.h"
#include "HostFault.h"
#include "WorkingDrawing.h"
#include "decBuilder.h"
#include "decDbEntity.h"

// A builder with a field of every kind a module class streams: a prism of its outline.
class TestBlock : public decBuilder {
    DEC_DECLARE_CLASS(TestBlock)

public:
    TestBlock();
    int MakeMesh(decMesh3** out) const override;
    void Serialize(SerializeFilter& filter) override;
    const TPropertyDef* GetObjectPropertyDefine() const override;
    void OnPropertyValueGet(int index, prop_data& value) override;
    int OnPropertyValueChanged(int index, const prop_data& value) override;
    void OnMapObjectIds(decIdMapper& mapper) override;

    void SetHeight(int height) { AssertWriteEnabled(1, 1, 1, 0); m_height = height; }
    int GetHeight() const { return m_height; }

    int m_height = 3000;
    unsigned m_count = 7;
    long m_long = -123456;
    unsigned long m_ulong = 4000000000ul;
    float m_float = 1.25f;
    double m_double = -2.5e-7;
    bool m_flag = true;
    CString m_label = "一号楼";
    GePoint3d m_base{1, 2, 3};
    GeVector3d m_axis{0, 0, 1};
    decObjectId m_link;
    decObjectIdArray m_links;
    std::vector<GePoint3d> m_outline;
    char m_raw[8] = {'A', 'B', 'C', 0, 1, 2, 3, 4};
    unsigned m_seenVersion = 0;  // class version reported while loading
};

// A module-style 2-D entity: draws one text at its position.
class TestLabel : public decDbEntity2d {
    DEC_DECLARE_CLASS(TestLabel)

public:
    TestLabel() = default;
    TestLabel(const char* text, const GePoint3d& pos) : m_text(text), m_pos(pos) {}
    int OnWorldDraw(decViewFilter& filter) override;
    int TransformBy(const GeMatrix3d& tm) override;
    void Serialize(SerializeFilter& filter) override;

    CString m_text;
    GePoint3d m_pos;
    double m_height = 350.0;
};

// A class registered only while a test needs it, so that its records can be read back by a
// program that does not know it.
class TestGhost : public decBuilder {
    DEC_DECLARE_CLASS(TestGhost)

public:
    void Serialize(SerializeFilter& filter) override;
    int m_secret = 42;
    CString m_note = "kept as it is";
};

// A fresh working drawing, strict access checks, a clear event log.
class DbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    DbDatabase& Db() { return *dec::GetWorkingDatabase(); }
    // A test block on layer "0" with the outline of a w × d rectangle at the origin.
    decObjectId AddBlock(double w, double d, int height, const GeMatrix3d& tm = GeMatrix3d(), long material = 0);
    std::string TempPath(const std::string& name) const;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
