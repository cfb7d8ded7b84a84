#pragma once
// Runs the quenra3d executable on scripts and collects its transcript and exit status.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

struct Quenra3dRun {
    int status = -1;
    std::string output;  // standard output and standard error together
};

// A fresh folder for one test's files, removed with the object.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes a file into the folder and gives its path.
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path m_path;
};

// The file's bytes; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);

// Runs quenra3d with the arguments (each passed as one word) and standard input from the text;
// environment holds "NAME=VALUE" settings for the run; in workingFolder when one is given.
Quenra3dRun RunQuenra3d(const std::vector<std::string>& args, const std::string& input = {},
                        const std::vector<std::string>& environment = {}, const std::filesystem::path& workingFolder = {});

// Runs a script through quenra3d with the test module loaded (lines echoed unless -q is among the extra arguments).
Quenra3dRun RunTestScript(const std::string& script, std::vector<std::string> extraArgs = {});

// One scripted run through the test module: the exit status and the texts its transcript
// must show (and must not), in a table of cases.
struct ScriptCase {
    const char* name;
    std::string script;
    int status;
    std::vector<std::string> shown;
    std::vector<std::string> extraArgs = {};
    std::vector<std::string> absent = {};
};

// Runs the case's script and checks its status and every text it must show or not show.
void ExpectScriptCase(const ScriptCase& scriptCase);

// So a failing case is named by its name rather than its bytes.
inline std::ostream& operator<<(std::ostream& out, const ScriptCase& scriptCase) { return out << scriptCase.name; }
