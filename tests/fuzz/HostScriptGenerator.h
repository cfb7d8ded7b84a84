#pragma once
// Random scripts of the host's script language (examples/README.md) for quenra3d: the example
// scripts cut into one piece per command, each piece's lines mutated (numbers replaced by
// values near the limits of the types that keep them, by values that are not finite and by
// text that is no number; lines dropped, repeated or put in another order; answers, keywords,
// Esc and End put in), dialog lines on the controls of the dialog a piece drives, message-box
// answers, and the host's own commands made up with the same values. A drawing is saved,
// exported or opened only inside the scratch folder given; the examples' own files are read
// where they are.
#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace fuzz {

// What the scripts are made from.
struct ScriptCorpus {
    // The lines of each example script's pieces: a command line and the answers that follow it.
    std::vector<std::vector<std::string>> pieces;
    // The pieces that start a drawing worth working on (the examples that build the site).
    std::vector<std::vector<std::string>> sites;
    // The module's commands, which take their input from the following lines.
    std::vector<std::string> moduleCommands;
    // Dialog controls by the dialog that has them: a control's number gives its siblings.
    std::vector<std::vector<int>> dialogs;
    std::map<int, std::size_t> dialogOf;
};

// Reads the example scripts of the folder (cut at the lines that start a known command) and the
// dialogs' control numbers from the resource headers of the other folder. The commands are
// the host's and the module's names, as help lists them.
ScriptCorpus ReadCorpus(const std::filesystem::path& examples, const std::filesystem::path& resources,
                        const std::vector<std::string>& hostCommands, const std::vector<std::string>& moduleCommands);

class ScriptGenerator {
public:
    ScriptGenerator(const ScriptCorpus& corpus, std::filesystem::path examples, std::filesystem::path scratch,
                    std::uint64_t seed);

    // The lines of the next script (no line holds a new line).
    std::vector<std::string> Next();

    // A value near a limit, not finite, or no number at all.
    std::string OddNumber();

private:
    std::size_t Pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    std::string Number();
    std::string Coordinates();
    std::string Handle();
    std::string SelectionWord();
    std::string AnyAnswer(const std::vector<int>& controls);
    std::string DialogLine(const std::vector<int>& controls);
    std::string HostCommandLine();
    std::string FileIn(const char* extension);
    std::string MutateLine(const std::string& line, const std::vector<int>& controls);
    // Keeps file commands inside the scratch folder and the examples' files where they are.
    std::string Placed(const std::string& line);
    void AddPiece(const std::vector<std::string>& piece, std::vector<std::string>& out);

    const ScriptCorpus& m_corpus;
    std::filesystem::path m_examples, m_scratch;
    std::mt19937_64 m_random;
};

}  // namespace fuzz
