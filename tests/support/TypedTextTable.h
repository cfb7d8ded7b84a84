#pragma once
// One table for every question and dialog field that reads a typed number: texts that are no
// number are refused with the field's own refusal and asked again (the retry then stands),
// numbers written as atof writes them are taken whole, and an empty answer does what the
// field says it does.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace typedtext {

// Typos a person makes (the full-width period and digits of a Chinese input method, a letter
// or a blank inside a number), words, "-nan" cut to three characters, and texts strtod reads
// as no finite number.
inline const std::vector<std::string> kNoNumbers = {"18。5", "１８", "18x5", "1 8",  "abc",
                                                    "-na",   "-nan", "nan",  "inf", "-inf"};

struct Number {
    std::string text;
    double value;
};
inline const std::vector<Number> kNumbers = {{"1e3", 1000.0}, {"+5", 5.0}, {" 18.5 ", 18.5}};

enum class Empty { Refused, Default, Ends };

struct Field {
    const char* name;
    std::string before;                     // the lines up to the typed text
    std::string then;                       // the lines right after it (a dialog's "ok")
    std::string retry;                      // the lines that answer again after a refusal
    std::string after;                      // the lines that end the command
    const char* refusal;                    // shown once per refusal; nullptr: asked again silently
    std::function<double()> read;           // the value the drawing or the field holds afterwards
    std::function<double(double)> gives;   // what a typed number makes of it
    double retried;                         // the number the retry lines type
    Empty empty = Empty::Refused;
    double byDefault = 0.0;                 // what Enter gives when it takes the default
    std::size_t maxChars = 100;             // longer texts cannot be typed into the field
};

// Runs every row in a fresh drawing (reset), the lines through run, and checks the transcript.
struct Runner {
    std::function<void()> reset;
    std::function<void(const std::string&)> run;
    std::function<std::string()> transcript;

    void Expect(const Field& f) const
    {
        // As the field receives it: a script line loses its trailing blanks.
        const auto fits = [&f](const std::string& text) {
            std::size_t characters = 0;
            for (char c : text.substr(0, text.find_last_not_of(' ') + 1))
                characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            return characters <= f.maxChars;
        };
        const auto refusals = [this, &f] {
            const std::string out = transcript();
            int n = 0;
            for (std::size_t at = out.find(f.refusal); at != std::string::npos; at = out.find(f.refusal, at + 1))
                ++n;
            return n;
        };
        std::vector<std::string> refused = kNoNumbers;
        if (f.empty == Empty::Refused)
            refused.emplace_back();
        for (const std::string& text : refused) {
            if (!fits(text))
                continue;
            reset();
            run(f.before + text + "\n" + f.then + f.retry + f.after);
            if (f.refusal) {
                EXPECT_EQ(refusals(), 1) << f.name << " \"" << text << "\"\n" << transcript();
            }
            EXPECT_NEAR(f.read(), f.gives(f.retried), 1e-6) << f.name << " \"" << text << '"';
        }
        for (const Number& number : kNumbers) {
            if (!fits(number.text))
                continue;
            reset();
            run(f.before + number.text + "\n" + f.then + f.after);
            if (f.refusal) {
                EXPECT_EQ(refusals(), 0) << f.name << " \"" << number.text << "\"\n" << transcript();
            }
            EXPECT_NEAR(f.read(), f.gives(number.value), 1e-6) << f.name << " \"" << number.text << '"';
        }
        if (f.empty == Empty::Default) {
            reset();
            run(f.before + "\n" + f.then + f.after);
            EXPECT_NEAR(f.read(), f.byDefault, 1e-6) << f.name << " (empty)";
        }
    }
};

}  // namespace typedtext
