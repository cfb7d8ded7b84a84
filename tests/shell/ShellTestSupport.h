#pragma once
// What the shell's tests share: the module's exported entry point as the host finds it, and a
// host reset to the state right after the module was loaded but before it was entered.
#include <gtest/gtest.h>

#include <string>

// Calls "_decEntryPoint@8" with the message.
void EnterModule(int message);

class ShellTest : public ::testing::Test {
protected:
    // An empty drawing, transcript and command table (the host's own commands only), and the
    // reactor detached, as before the host's first entry call.
    void SetUp() override;
    void TearDown() override;
    // Runs the lines as a script; false when a line was not understood.
    bool Run(const std::string& lines);
    std::string Transcript() const;
};
