#pragma once

// Runs one of the built programs as a child process in surroundings the test
// sets: a working directory that the child removes once it is in it,
// changed environment variables, a limit on its address space. Its standard
// output and error are kept in files of the test's temporary folder.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace test_support {

struct ChildRun {
    std::vector<std::string> args;  // the program's path first
    std::filesystem::path dir;      // the working directory
    bool remove_dir = false;        // removed by the child once it is there
    // Variables set to a value, or removed when given none.
    std::map<std::string, std::optional<std::string>> env;
    std::optional<rlim_t> address_space;  // bytes
};

struct ChildResult {
    int status;  // the exit status; 128 + the signal that ended the child
    std::string out, err;
};

inline std::string text_of_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<std::string> child_environment(const std::map<std::string, std::optional<std::string>>& changes) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        if (!changes.count(text.substr(0, text.find('=')))) env.push_back(text);
    }
    for (const auto& [name, value] : changes) {
        if (value) env.push_back(name + "=" + *value);
    }
    return env;
}

inline std::vector<char*> pointers_to(std::vector<std::string>& texts) {
    std::vector<char*> out;
    for (auto& text : texts) out.push_back(text.data());
    out.push_back(nullptr);
    return out;
}

// Runs the child to its end; its output goes to files in `output_dir`.
inline ChildResult run_child(ChildRun run, const std::filesystem::path& output_dir) {
    const std::string out_file = (output_dir / "child.out").string();
    const std::string err_file = (output_dir / "child.err").string();
    std::vector<std::string> env = child_environment(run.env);
    const std::vector<char*> argv = pointers_to(run.args);
    const std::vector<char*> envp = pointers_to(env);
    const std::string dir = run.dir.string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only calls that are safe after a fork, up to the exec.
        const int out = ::open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int err = ::open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(err, STDERR_FILENO) < 0) ::_exit(125);
        if (::chdir(dir.c_str()) != 0 || (run.remove_dir && ::rmdir(dir.c_str()) != 0)) ::_exit(126);
        if (run.address_space) {
            const rlimit limit{*run.address_space, *run.address_space};
            if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(126);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return {-1, "", "no child"};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), text_of_file(out_file),
            text_of_file(err_file)};
}

// Every "{dir}" in `text` replaced by `dir`.
inline std::string with_dir(std::string text, const std::filesystem::path& dir) {
    for (std::size_t at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}", at)) {
        text.replace(at, 5, dir.string());
        at += dir.string().size();
    }
    return text;
}

}  // namespace test_support
