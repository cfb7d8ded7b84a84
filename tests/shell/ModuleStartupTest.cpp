// The module-wide objects as the module's load leaves them.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>

#include "ExtrudeBuild.h"
#include "LumidraxApp.h"
#include "ModuleGlobals.h"
#include "decObjectClassInfo.h"

namespace {

TEST(ModuleStartup, ConstantsAndRememberedTexts)
{
    EXPECT_EQ(g_degPerRadian, 57.29577951308232);
    EXPECT_EQ(g_degPerRadian * std::acos(-1.0), 180.0);
    EXPECT_EQ(g_quickWinSpacingText, "1000");
    EXPECT_EQ(g_quickWinStoreyHeightText, "2900");
    for (const auto& list : g_analysisGroupLists)
        EXPECT_TRUE(list.empty());
}

TEST(ModuleStartup, ExtendedDataApplicationNames)
{
    EXPECT_EQ(g_buildGroupAppName, "build_group");
    EXPECT_EQ(g_buildTagAppName, "XBUILD_NAME");
    EXPECT_EQ(g_buildNamingAppName, "XBUILD_NAME");
    EXPECT_EQ(g_winBelongBuildAppName, "WIN_BELONG_BLD");
}

TEST(ModuleStartup, EntityClassesAreRegisteredAtLoad)
{
    EXPECT_EQ(host::ClassRegistry::Instance().Find("QCExtrudeBuild"), CExtrudeBuild::Desc());
}

TEST(ModuleStartup, ExportedFunctionsHavePlainCNames)
{
    // The analysis side finds them by these names in the built module.
    void* module = dlopen(LUMIDRAX_MODULE, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr) << dlerror();
    for (const char* name : {"GetTextHeight", "SetTextHeight", "GetScale", "IsHeightValid", "AutoResizeTextHeight",
                             "GetFontNameList", "GetAllBuild", "GetAllWindow", "WindowInfoFullWay"})
        EXPECT_NE(dlsym(module, name), nullptr) << name;
    dlclose(module);
}

TEST(ModuleStartup, TheApplicationObjectIsTheModulesOwn)
{
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_NE(theApp.m_pszAppName, nullptr);
}

}  // namespace
