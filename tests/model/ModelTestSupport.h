#pragma once
// What the model's tests share: the module's test host (tests/support) and the buildings
// made in it.
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "ExtrudeBuild.h"
#include "ModuleTest.h"

// One row of an entity's property panel, as the user sees it.
struct PropertyRow {
    const char* group;
    const char* name;
    const char* prompt;
    int kind;
};

// The panel's rows in order, numbered from 0, then the closing null row.
inline void ExpectPropertyRows(const TPropertyDef* rows, std::initializer_list<PropertyRow> expected)
{
    ASSERT_NE(rows, nullptr);
    int i = 0;
    for (const PropertyRow& row : expected) {
        EXPECT_STREQ(rows[i].group, row.group) << i;
        EXPECT_STREQ(rows[i].name, row.name) << i;
        EXPECT_STREQ(rows[i].prompt, row.prompt) << i;
        EXPECT_EQ(rows[i].index, i);
        EXPECT_EQ(rows[i].kind, row.kind) << i;
        ++i;
    }
    EXPECT_EQ(rows[i].group, nullptr);
    EXPECT_EQ(rows[i].name, nullptr);
    EXPECT_EQ(rows[i].kind, 0);
}

// A path in the temporary folder, apart for each test process.
inline std::filesystem::path TempFile(const std::string& name)
{
    return std::filesystem::temp_directory_path() / ("lumidrax_model_" + std::to_string(::getpid()) + "_" + name);
}

class ModelTest : public ModuleTest {
protected:
    CExtrudeBuild* Building(const decObjectId& id) const
    {
        const decDbEntity* entity = Entity(id);
        return entity ? CExtrudeBuild::Cast(entity->GetBaseObject()) : nullptr;
    }
};
