#pragma once
// A clean host for each in-process test: empty event log, no queued lines, a new drawing.
#include <gtest/gtest.h>

#include "EventLog.h"
#include "ScriptedUser.h"
#include "WorkingDrawing.h"

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset()
    {
        host::EventLog::Instance().Clear();
        host::ScriptedUser::Instance().Clear();
        host::ScriptedUser::Instance().SetQuiet(true);
        host::NewDrawing();
    }
    static std::string Transcript() { return host::EventLog::Instance().Transcript(); }
    static bool Shown(const char* text) { return host::EventLog::Instance().Shown(text); }
    static bool Failed() { return host::ScriptedUser::Instance().Failed(); }
};
