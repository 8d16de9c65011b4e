#include "PdfHelper.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "CliOptions.h"

extern char** environ;

namespace soten::cli {
namespace {

// The last non-empty line of the helper's messages: its reason.
std::string LastLine(const std::string& text) {
    std::size_t end = text.find_last_not_of("\r\n \t");
    if (end == std::string::npos) return {};
    const std::size_t start = text.find_last_of('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end - (start == std::string::npos ? 0 : start + 1) + 1);
}

}  // namespace

std::string FindPdfHelper() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path folder = self.parent_path();
    for (const std::filesystem::path& candidate :
         {folder / SOTEN_PDF_HELPER, folder / SOTEN_PDF_HELPER_FROM_BINDIR / SOTEN_PDF_HELPER}) {
        if (access(candidate.c_str(), X_OK) == 0) return candidate.lexically_normal().string();
    }
    return {};
}

std::string WritePdfWithHelper(const ProgramState& state, const std::string& path) {
    if (!state.shown.valid) return "there is no reading to print";
    const std::string helper = FindPdfHelper();
    if (helper.empty()) {
        return "cannot write " + path +
               ": the PDF helper " SOTEN_PDF_HELPER " is not installed beside soten-cli";
    }
    // The names go as they are held, in code page 932: no round trip.
    std::string style = StyleName(state.shown.style);
    std::string surname = state.shown.record.Names[Surname];
    std::string given = state.shown.record.Names[GivenName];
    std::string file = path;
    std::string program = helper;
    std::array<char*, 6> argv = {program.data(), style.data(), surname.data(),
                                 given.data(),   file.data(),  nullptr};

    int messages[2];
    if (pipe2(messages, O_CLOEXEC) != 0) return std::string("cannot run ") + std::strerror(errno);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, messages[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, messages[1], STDERR_FILENO);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, helper.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(messages[1]);
    if (spawned != 0) {
        close(messages[0]);
        return "cannot run " + helper + ": " + std::strerror(spawned);
    }
    std::string output;
    std::array<char, 4096> buffer;
    for (ssize_t got; (got = read(messages[0], buffer.data(), buffer.size())) != 0;) {
        if (got < 0) {
            if (errno == EINTR) continue;
            break;
        }
        output.append(buffer.data(), static_cast<std::size_t>(got));
    }
    close(messages[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
    std::string reason = LastLine(output);
    if (reason.empty()) reason = "the PDF helper failed";
    return reason;
}

}  // namespace soten::cli
