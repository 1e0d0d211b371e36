#pragma once
// Helpers shared by the tests: temporary folders, small files, and runs of the real binary.

#include <csignal>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace zelvo::test {

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Writes bytes as they are (no encoding, no line-end translation), creating folders as needed.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);
// The lines of a text without those stamped with the time of their run (" -- " between date and
// time), but for lines holding `kept`.
std::string withoutDatedLines(const std::string& text, const std::string& kept = "");
// Standard error without the progress lines of the grids' binary versions ("Creation du fichier
// binaire ..." and its marks), which a first run writes there.
std::string withoutProgress(const std::string& err);
// UTF-8 text to ISO 8859-1 bytes, with CR LF line ends for each '\n'.
std::string latin1Lines(const std::string& utf8);

struct RunResult {
    int exitCode = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

struct UserIds {
    uid_t uid;
    gid_t gid;
};

struct RunOptions {
    std::string workingDirectory;                              // empty: the current one
    std::map<std::string, std::optional<std::string>> env;     // set, or unset with nullopt
    std::string program;                                       // empty: the zelvo binary
    double timeoutSeconds = 60;
    std::optional<UserIds> user;  // run as this user (switching needs the tests to run as root)
    long long fileSizeLimit = -1;  // bytes a file may reach; a longer write fails as on a full disk
    // The signal sent when the timeout passes. Another than SIGKILL lets the program end by itself
    // (killed after as long again if it does not), and its exit code is reported.
    int timeoutSignal = SIGKILL;
};

// Runs the program with no standard input; a run that outlives its timeout is killed and
// reported with exit code -2 (with another timeoutSignal, the code it then exits with).
RunResult run(const std::vector<std::string>& args, const RunOptions& options = {});

// Runs the program on a terminal of its own (standard input, output and error), which receives
// `keys` once `prompt` has appeared in the output; the output is what the terminal showed.
RunResult runInTerminal(const std::vector<std::string>& args, const RunOptions& options, const std::string& prompt,
                        const std::string& keys);

// A user without privileges to run the program as: nobody when the tests run as root, the
// tests' own user otherwise; nothing when root has no such user at hand.
std::optional<UserIds> unprivilegedUser();

// Sets (or, with nothing, unsets) an environment variable of this process for the life of the
// object, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The project's own reference data, made by tests/data/make_reference.py and kept in
// tests/data/reference: catalogue.dat, grids/ and cases.tsv (the values PROJ gives).
std::string referenceDir();

// The reference folder shipped beside the project (a second source), or empty when it is absent.
std::string sharedReferenceDir();

// A table of reference cases and the folder whose catalogue.dat and grids/ it runs on.
struct ReferenceSet {
    std::string name;   // for messages: "project", "shared" or the table's path
    std::string dir;    // holds catalogue.dat and grids/
    std::string cases;  // the case table
};
// The sets the comparison tests run: the project's own; the shared folder when present; and the
// table named by ZELVO_REFERENCE_CASES, over the folder it sits in when that holds a catalogue,
// else over the project's own catalogue and grids.
std::vector<ReferenceSet> referenceSets();

// True when the test command asks every comparison to run (ZELVO_REQUIRE_ORACLES=1): a tool or
// file that scripts/install-deps.sh installs is then a failure when it is missing, not a skip.
bool allComparisonsRequired();

// A case of a reference table (cases.tsv): the arguments of a point-mode run, without the
// program, and the values PROJ gives with their tolerances.
struct ReferenceCase {
    std::string id;
    std::vector<std::string> args;
    std::vector<double> expected;
    std::vector<double> tolerance;
};
// The words of a text separated by blanks (a command line written as one string).
std::vector<std::string> words(const std::string& text);
// The numbers of a text, in words separated by blanks; words that are no number are left out.
std::vector<double> numbersIn(const std::string& text);
// The cases of a reference table file, in its order; none when it cannot be read.
std::vector<ReferenceCase> loadReferenceCases(const std::string& path);

// A folder with a configuration layout for the binary: "<root>/Zelvo/zelvo.ini" (use root as
// ALLUSERSPROFILE). The ini names the catalogue given.
std::string writeAllUsersConfiguration(const std::filesystem::path& root, const std::string& dataName,
                                       const std::string& extraIni = "");

}  // namespace zelvo::test

// Ends the current test for a missing tool or file that scripts/install-deps.sh installs: a skip
// with its reason, or a failure when the test command requires every comparison to run.
#define ZELVO_MISSING_PREREQUISITE(why)                                                                 \
    return GTEST_MESSAGE_AT_(__FILE__, __LINE__, "missing prerequisite",                               \
                             ::zelvo::test::allComparisonsRequired() ? ::testing::TestPartResult::kFatalFailure \
                                                                     : ::testing::TestPartResult::kSkip)        \
           << (why)

#include "platform/user_interface.hpp"

namespace zelvo::test {

// Keeps what the program would show, for the tests to read, and answers its questions: from
// `answers` in turn, then `answer`.
class RecordingUserInterface : public UserInterface {
public:
    void message(const std::string& text, MessageIcon icon) override { messages.push_back({text, icon}); }
    bool question(const std::string& text, MessageIcon icon, bool yesIsDefault) override {
        questions.push_back({text, icon, yesIsDefault});
        if (answers.empty()) return answer;
        const bool next = answers.front();
        answers.erase(answers.begin());
        return next;
    }
    void write(const std::string& text) override { console += text; }
    void progressBegin(const std::string& status, int steps) override {
        console += status;
        progressSteps = steps;
        progressTaken = 0;
        ++progressOpened;
    }
    void progressStep() override {
        console += "|";
        ++progressTaken;
    }
    void progressEnd() override { ++progressClosed; }
    bool cancelRequested() override { return cancel; }

    struct Message {
        std::string text;
        MessageIcon icon;
    };
    struct Question {
        std::string text;
        MessageIcon icon;
        bool yesIsDefault;
    };
    std::vector<Message> messages;
    std::vector<Question> questions;
    std::vector<bool> answers;
    std::string console;
    int progressSteps = 0;
    int progressTaken = 0;
    int progressOpened = 0;
    int progressClosed = 0;
    bool answer = false;
    bool cancel = false;
};

}  // namespace zelvo::test
