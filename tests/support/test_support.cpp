#include "test_support.hpp"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pty.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/number_text.hpp"
#include "platform/text_encoding.hpp"

namespace zelvo::test {

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("zelvo-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string withoutDatedLines(const std::string& text, const std::string& kept) {
    std::string result;
    for (std::size_t start = 0; start < text.size();) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (line.find(" -- ") == std::string::npos || (!kept.empty() && line.find(kept) != std::string::npos))
            result += line + "\n";
        start = end + 1;
    }
    return result;
}

std::string withoutProgress(const std::string& err) {
    std::string result;
    for (std::size_t start = 0; start < err.size();) {
        auto end = err.find('\n', start);
        if (end == std::string::npos) end = err.size() - 1;
        if (!err.substr(start).starts_with("Creation du fichier binaire ")) result += err.substr(start, end + 1 - start);
        start = end + 1;
    }
    return result;
}

std::string latin1Lines(const std::string& utf8) {
    std::string out;
    for (char c : utf8ToLatin1(utf8)) {
        if (c == '\n') out += "\r\n";
        else out += c;
    }
    return out;
}

namespace {

// In the child process: the folder, environment, user and limits of the options, then the program.
[[noreturn]] void execute(const std::vector<std::string>& args, const RunOptions& options) {
    const std::string program = options.program.empty() ? std::string(ZELVO_BINARY) : options.program;
    if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(126);
    for (const auto& [name, value] : options.env) {
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }
    if (options.fileSizeLimit >= 0) {
        // A write past the limit then fails with an error instead of a signal.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(options.fileSizeLimit), static_cast<rlim_t>(options.fileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(125);
    }
    if (options.user) {
        if (setgroups(0, nullptr) != 0 && getuid() == 0) _exit(125);
        if (setgid(options.user->gid) != 0 || setuid(options.user->uid) != 0) _exit(125);
    }
    std::vector<char*> argv;
    std::string argv0 = program;
    argv.push_back(argv0.data());
    std::vector<std::string> copies(args);
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

int exitCodeOf(pid_t pid, bool killed) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (killed) return -2;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

RunResult run(const std::vector<std::string>& args, const RunOptions& options) {
    RunResult result;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return result;
    const pid_t pid = fork();
    if (pid == 0) {
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, STDIN_FILENO);
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        close(outPipe[0]);
        close(errPipe[0]);
        execute(args, options);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    const auto start = std::chrono::steady_clock::now() + std::chrono::duration<double>(options.timeoutSeconds);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    bool killed = false, signalled = false;
    auto deadline = start;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            if (options.timeoutSignal != SIGKILL && !signalled) {
                // The program is asked to end, and given as long again to do it.
                kill(pid, options.timeoutSignal);
                signalled = true;
                deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(options.timeoutSeconds);
                continue;
            }
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        if (poll(fds, 2, static_cast<int>(left.count())) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (auto& fd : fds)
        if (fd.fd >= 0) close(fd.fd);
    result.exitCode = exitCodeOf(pid, killed);
    return result;
}

RunResult runInTerminal(const std::vector<std::string>& args, const RunOptions& options, const std::string& prompt,
                        const std::string& keys) {
    RunResult result;
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid < 0) return result;
    if (pid == 0) execute(args, options);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(options.timeoutSeconds);
    bool sent = false, killed = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        pollfd fd{terminal, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) < 0) break;
        char buffer[4096];
        const ssize_t n = read(terminal, buffer, sizeof buffer);
        if (n <= 0) break;  // the program has ended: its side of the terminal is closed
        result.out.append(buffer, static_cast<std::size_t>(n));
        if (!sent && result.out.find(prompt) != std::string::npos) {
            sent = write(terminal, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
        }
    }
    close(terminal);
    result.exitCode = exitCodeOf(pid, killed);
    return result;
}

std::optional<UserIds> unprivilegedUser() {
    if (getuid() != 0) return UserIds{getuid(), getgid()};
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr || nobody->pw_uid == 0) return std::nullopt;
    return UserIds{nobody->pw_uid, nobody->pw_gid};
}

ScopedEnv::ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_, old_->c_str(), 1);
    else
        ::unsetenv(name_);
}

std::string referenceDir() { return (std::filesystem::path(ZELVO_SOURCE_DIR) / "tests" / "data" / "reference").string(); }

std::string sharedReferenceDir() {
    const std::filesystem::path dir = std::filesystem::path(ZELVO_SHARED_DIR) / "reference";
    return std::filesystem::exists(dir / "catalogue.dat") ? dir.string() : std::string();
}

std::vector<ReferenceSet> referenceSets() {
    std::vector<ReferenceSet> sets{{"project", referenceDir(), referenceDir() + "/cases.tsv"}};
    if (const std::string shared = sharedReferenceDir(); !shared.empty())
        sets.push_back({"shared", shared, shared + "/cases.tsv"});
    if (const char* named = std::getenv("ZELVO_REFERENCE_CASES"); named != nullptr && *named != '\0') {
        const std::filesystem::path folder = std::filesystem::path(named).parent_path();
        const bool ownCatalogue = std::filesystem::exists(folder / "catalogue.dat");
        sets.push_back({named, ownCatalogue ? folder.string() : referenceDir(), named});
    }
    return sets;
}

bool allComparisonsRequired() {
    const char* required = std::getenv("ZELVO_REQUIRE_ORACLES");
    return required != nullptr && std::string_view(required) == "1";
}

namespace {

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

std::vector<std::string> words(const std::string& text) { return splitAt(text, ' '); }

std::vector<double> numbersIn(const std::string& text) {
    std::vector<double> values;
    for (const auto& word : splitAt(text, ' ')) {
        double v = 0;
        if (parseDouble(word, v)) values.push_back(v);
    }
    return values;
}

std::vector<ReferenceCase> loadReferenceCases(const std::string& path) {
    std::vector<ReferenceCase> cases;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto fields = splitAt(line, '\t');
        if (fields.size() < 4) continue;
        cases.push_back({fields[0], splitAt(fields[1], ' '), numbersIn(fields[2]), numbersIn(fields[3])});
    }
    return cases;
}

std::string writeAllUsersConfiguration(const std::filesystem::path& root, const std::string& dataName,
                                       const std::string& extraIni) {
    const auto ini = root / "Zelvo" / "zelvo.ini";
    writeFile(ini, "[INFORMATIONS]\r\nTitre=Essai\r\n[DATA]\r\nData=" + dataName + "\r\n[AIDE]\r\nConsole=Aide de test\r\n" +
                       extraIni);
    return ini.string();
}

}  // namespace zelvo::test
