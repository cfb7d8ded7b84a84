#pragma once
// One table for every question and dialog field that reads a typed number: a text that is no
// number gets the field's own refusal once and the retry stands; a number is taken whole; an
// empty answer is refused, takes the default, or ends the question, as the field defines.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace typedtext {

// Typos (the full-width period and digits of a Chinese input method, a letter or a blank
// inside), a word, "-nan" cut to three characters, and texts that are no finite number.
inline const std::vector<std::string> kNoNumbers = {"18。5", "１８", "18x5", "1 8", "abc", "-na", "-nan", "nan", "inf", "-inf"};
inline const std::vector<std::pair<std::string, double>> kNumbers = {{"1e3", 1000}, {"+5", 5}, {" 18.5 ", 18.5}};

enum class Empty { Refused, Default, Ends };

struct Field {
    const char* name;
    std::string before, then, retry, after;  // lines up to the text, right after it, after a refusal, to the end
    const char* refusal;                     // nullptr: asked again without a word
    std::function<double()> read;            // the value taken
    std::function<double(double)> gives;     // what a typed number makes of it
    double retried;                          // the number the retry lines type
    Empty empty = Empty::Refused;
    double byDefault = 0;                    // what Enter gives where it takes the default
    std::size_t maxChars = 100;              // the field holds no longer text
    double most = std::numeric_limits<double>::infinity();  // larger numbers are out of range
};

struct Runner {
    std::function<void()> reset;  // a fresh drawing
    std::function<void(const std::string&)> run;
    std::function<std::string()> transcript;

    // The row typed in a fresh drawing: refused (then retried) or taken as `number`.
    void Row(const Field& f, const std::string& text, bool refused, double number, double expected) const
    {
        std::size_t characters = 0;  // as the field gets it: a script line loses trailing blanks
        for (char c : text.substr(0, text.find_last_not_of(' ') + 1))
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (characters > f.maxChars || number > f.most)
            return;
        reset();
        run(f.before + text + "\n" + f.then + (refused ? f.retry : "") + f.after);
        const std::string out = transcript();
        int refusals = 0;
        for (std::size_t at = f.refusal ? out.find(f.refusal) : out.npos; at != out.npos; at = out.find(f.refusal, at + 1))
            ++refusals;
        EXPECT_EQ(refusals, f.refusal && refused ? 1 : 0) << f.name << " \"" << text << "\"\n" << out;
        EXPECT_NEAR(f.read(), expected, 1e-6) << f.name << " \"" << text << '"';
    }
    void Expect(const Field& f) const
    {
        for (const std::string& text : kNoNumbers)
            Row(f, text, true, 0, f.gives(f.retried));
        for (const auto& [text, number] : kNumbers)
            Row(f, text, false, number, f.gives(number));
        if (f.empty != Empty::Ends)
            Row(f, "", f.empty == Empty::Refused, 0, f.empty == Empty::Refused ? f.gives(f.retried) : f.byDefault);
    }
};

}  // namespace typedtext
