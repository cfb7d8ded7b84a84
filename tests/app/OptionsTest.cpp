// The command line of quenra3d, read in-process.
#include <gtest/gtest.h>

#include "Options.h"

namespace {
std::optional<host::Options> Parse(std::vector<std::string> args, std::string* error = nullptr)
{
    std::string why;
    auto options = host::ParseOptions(args, why);
    if (error) *error = why;
    return options;
}
}  // namespace

TEST(Quenra3dOptions, ShortLongAndInlineForms)
{
    const auto options = Parse({"-m", "a.so", "--open=in.q3d", "--save", "out.q3d", "--obj", "out.obj", "--svg=a.svg", "-q", "x.txt", "-", "y.txt"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->module, "a.so");
    EXPECT_EQ(options->open, "in.q3d");
    EXPECT_EQ(options->save, "out.q3d");
    EXPECT_EQ(options->obj, "out.obj");
    EXPECT_EQ(options->svg, "a.svg");
    EXPECT_TRUE(options->quiet);
    EXPECT_FALSE(options->help);
    EXPECT_EQ(options->scripts, (std::vector<std::string>{"x.txt", "-", "y.txt"}));
}

TEST(Quenra3dOptions, NoScriptMeansStandardInputAndDoubleDashEndsOptions)
{
    EXPECT_EQ(Parse({})->scripts, std::vector<std::string>{"-"});
    EXPECT_EQ(Parse({"--", "-q", "--help"})->scripts, (std::vector<std::string>{"-q", "--help"}));
    EXPECT_TRUE(Parse({"-h"})->help);
}

TEST(Quenra3dOptions, MissingValuesAndUnknownOptionsAreRefused)
{
    std::string error;
    EXPECT_FALSE(Parse({"-o"}, &error));
    EXPECT_EQ(error, "the option -o needs a file");
    EXPECT_FALSE(Parse({"--save="}, &error));
    EXPECT_EQ(error, "the option --save needs a file");
    EXPECT_FALSE(Parse({"--quiet=yes"}, &error));
    EXPECT_EQ(error, "the option --quiet takes no value");
    EXPECT_FALSE(Parse({"-x"}, &error));
    EXPECT_EQ(error, "unknown option -x (quenra3d -h lists the options)");
}
