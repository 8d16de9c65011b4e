#include "cli/pdf/PdfHelper.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include "analysis/text/Cp932.h"
#include "cli/app/CliOptions.h"
#include "cli/app/TerminalText.h"
#include "platform/files/FileErrors.h"

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

// A PDF that was written to its end: "%PDF-" first, "%%EOF" last (before
// trailing line ends). What is not a regular file (a pipe, a device) cannot
// be read back and is taken as written.
bool IsCompletePdf(const std::string& path) {
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0) return false;
    struct stat info {};
    if (fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(file);
        return true;
    }
    std::array<char, 5> head{};
    std::array<char, 32> tail{};
    const off_t size = lseek(file, 0, SEEK_END);
    bool complete = size >= 10 && pread(file, head.data(), head.size(), 0) == 5;
    const auto tailSize = static_cast<std::size_t>(std::min<off_t>(size, tail.size()));
    complete =
        complete && pread(file, tail.data(), tailSize, size - static_cast<off_t>(tailSize)) ==
                        static_cast<ssize_t>(tailSize);
    close(file);
    if (!complete || std::string_view(head.data(), 5) != "%PDF-") return false;
    std::string_view end(tail.data(), tailSize);
    while (!end.empty() && (end.back() == '\n' || end.back() == '\r')) end.remove_suffix(1);
    return end.ends_with("%%EOF");
}

// The helper of the moment and the first ending signal that reached
// soten-cli while it ran: the signal goes on to the helper, which removes its
// half-written file, and soten-cli ends with it once the helper has.
volatile sig_atomic_t helperId = 0;
volatile sig_atomic_t endingSignal = 0;

extern "C" void PassSignalOn(int signal) {
    if (endingSignal == 0) endingSignal = signal;
    if (helperId > 0) kill(static_cast<pid_t>(helperId), signal);
}

constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Passes the ending signals on to the helper while it runs; blocked until
// the helper's id is known.
class SignalsPassedOn {
public:
    SignalsPassedOn() {
        sigemptyset(&ending_);
        for (const int signal : EndingSignals) sigaddset(&ending_, signal);
        sigprocmask(SIG_BLOCK, &ending_, &previousMask_);
        struct sigaction action {};
        action.sa_handler = &PassSignalOn;
        sigfillset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
            struct sigaction current {};
            sigaction(EndingSignals[i], nullptr, &current);
            // An ignored signal (nohup) stays ignored, for the helper too.
            passed_[i] = current.sa_handler != SIG_IGN;
            if (passed_[i]) sigaction(EndingSignals[i], &action, &previous_[i]);
        }
    }
    ~SignalsPassedOn() {
        helperId = 0;
        for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
            if (passed_[i]) sigaction(EndingSignals[i], &previous_[i], nullptr);
        }
        sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
    }
    SignalsPassedOn(const SignalsPassedOn&) = delete;
    SignalsPassedOn& operator=(const SignalsPassedOn&) = delete;

    // The helper starts with the signals as soten-cli had them before.
    void PrepareHelper(posix_spawnattr_t& attributes) const {
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setsigmask(&attributes, &previousMask_);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
            if (passed_[i]) sigaddset(&defaults, EndingSignals[i]);
        }
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    void Started(pid_t helper) {
        helperId = helper;
        sigprocmask(SIG_UNBLOCK, &ending_, nullptr);
    }

private:
    sigset_t ending_{};
    sigset_t previousMask_{};
    struct sigaction previous_[std::size(EndingSignals)]{};
    bool passed_[std::size(EndingSignals)] = {};
};

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

namespace {

void AppendField(std::string_view field, std::string& request) {
    request += std::to_string(field.size());
    request += ':';
    request += field;
    request += ',';
}

// A file in memory that holds `request`, read from its start; -1 with errno
// set when it cannot be made. A file rather than a pipe: the helper reads it
// at its own pace, and no write can block or meet a helper that has ended.
int RequestFile(const std::string& request) {
    const int file = memfd_create("soten-pdf-request", MFD_CLOEXEC);
    if (file < 0) return -1;
    for (std::size_t done = 0; done < request.size();) {
        const ssize_t wrote = write(file, request.data() + done, request.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            const int error = wrote < 0 ? errno : ENOSPC;
            close(file);
            errno = error;
            return -1;
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (lseek(file, 0, SEEK_SET) != 0) {
        const int error = errno;
        close(file);
        errno = error;
        return -1;
    }
    return file;
}

// The helper's notes, each line shown as TerminalText shows text.
std::string ShownLines(std::string_view text) {
    std::string shown;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        shown += TerminalText(text.substr(0, end));
        if (end == std::string_view::npos) break;
        shown += '\n';
        text.remove_prefix(end + 1);
    }
    return shown;
}

// Runs the helper as `mode` (--reading or --compare) with `request` on its
// standard input, which make it write `path`; returns an empty string when
// it wrote a complete file, else the reason.
std::string RunPdfHelper(std::string mode, const std::string& request, const std::string& path) {
    const std::string helper = FindPdfHelper();
    if (helper.empty()) {
        return path + " に書き込めません。PDF を作るプログラム " SOTEN_PDF_HELPER
                      " が soten-cli と同じ所にありません";
    }
    std::string program = helper;
    std::string target = path;
    std::array<char*, 4> argv = {program.data(), mode.data(), target.data(), nullptr};

    const int requestFile = RequestFile(request);
    if (requestFile < 0) return helper + " を実行できません。" + platform::FileErrorReason(errno);
    int messages[2];
    if (pipe2(messages, O_CLOEXEC) != 0) {
        const int error = errno;
        close(requestFile);
        return helper + " を実行できません。" + platform::FileErrorReason(error);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, requestFile, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, messages[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, messages[1], STDERR_FILENO);
    endingSignal = 0;
    SignalsPassedOn signals;
    posix_spawnattr_t attributes;
    signals.PrepareHelper(attributes);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, helper.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(messages[1]);
    close(requestFile);
    if (spawned != 0) {
        close(messages[0]);
        return helper + " を実行できません。" + platform::FileErrorReason(spawned);
    }
    signals.Started(child);
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
    if (endingSignal != 0) {
        // Ended as the shell expects of a program stopped by a signal.
        std::fflush(nullptr);
        _exit(128 + endingSignal);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        // Success means a whole file: a helper that exits 0 without one failed.
        if (!IsCompletePdf(path)) {
            return path +
                   " に書き込めません。PDF を作るプログラムが完全なファイルを残しませんでした";
        }
        // Notes about the file written (a split hard link) are the user's.
        const std::string notes = ShownLines(output);
        std::fwrite(notes.data(), 1, notes.size(), stderr);
        return {};
    }
    std::string reason = LastLine(output);
    if (reason.empty()) reason = path + " に書き込めません。PDF を作るプログラムが失敗しました";
    return reason;
}

}  // namespace

std::string ReadingPdfRequest(const Reading& reading) {
    // The names go as they are held, in code page 932: no round trip.
    std::string request;
    for (const std::string_view field :
         {std::string_view(StyleName(reading.Style())), std::string_view(reading.Surname()),
          std::string_view(reading.Given())}) {
        AppendField(field, request);
    }
    return request;
}

std::string ComparisonPdfRequest(const std::vector<ShortlistEntry>& names) {
    // In UTF-8, as the list holds them: a name may hold a character code
    // page 932 lacks, which the page names as it was typed.
    std::string request;
    for (const ShortlistEntry& name : names) {
        AppendField(StyleName(name.style), request);
        AppendField(name.SurnameUtf8(), request);
        AppendField(name.GivenUtf8(), request);
        AppendField(Cp932::ToUtf8Lossy(name.reading), request);
        AppendField(Cp932::ToUtf8Lossy(name.note), request);
    }
    return request;
}

std::optional<std::vector<std::string>> PdfRequestFields(std::string_view request) {
    std::vector<std::string> fields;
    while (!request.empty()) {
        std::size_t length = 0;
        const char* const end = request.data() + request.size();
        const auto [digitsEnd, failure] = std::from_chars(request.data(), end, length);
        if (failure != std::errc() || digitsEnd == request.data() || digitsEnd == end ||
            *digitsEnd != ':') {
            return std::nullopt;
        }
        request.remove_prefix(static_cast<std::size_t>(digitsEnd - request.data()) + 1);
        if (length >= request.size() || request[length] != ',') return std::nullopt;
        fields.emplace_back(request.substr(0, length));
        request.remove_prefix(length + 1);
    }
    return fields;
}

std::string WritePdfWithHelper(const Reading& reading, const std::string& path) {
    return TerminalText(RunPdfHelper("--reading", ReadingPdfRequest(reading), path));
}

std::string WriteComparisonPdfWithHelper(const std::vector<ShortlistEntry>& names,
                                         const std::string& path) {
    return TerminalText(RunPdfHelper("--compare", ComparisonPdfRequest(names), path));
}

}  // namespace soten::cli
