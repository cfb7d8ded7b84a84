#pragma once
// The host's result codes: what an input call, an entity operation or a module handler
// answers. Positive values are keyword positions (1-based) at prompts with keywords.
namespace dex {

enum ReturnCode : int {
    eOk = -2,         // normal completion: a value, a pick or a selection was given; success
    eEnded = -3,      // the question was ended
    eCancel = -4,     // the question was cancelled
    eTextInput = -5,  // text typed at a point or drag prompt
    eEmpty = -6,      // empty answer: the default stands
    eFail = 0,        // an operation of the host failed
};

}  // namespace dex
