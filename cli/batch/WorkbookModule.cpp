#include "cli/batch/WorkbookModule.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace soten::cli {
namespace {

const WorkbookModule* given = nullptr;

// The plug-in's module; throws WorkbookError when it cannot be loaded. The
// candidates are the folders of the program itself, which only the one who
// installed it can write.
const WorkbookModule& LoadedModule() {
    static const WorkbookModule* loaded = nullptr;
    static std::string failure;
    static std::once_flag tried;
    std::call_once(tried, [] {
        std::error_code error;
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
        const std::filesystem::path folder = self.parent_path();
        for (const std::filesystem::path& candidate :
             {folder / SOTEN_WORKBOOK_MODULE,
              folder / SOTEN_WORKBOOK_MODULE_FROM_BINDIR / SOTEN_WORKBOOK_MODULE}) {
            if (error || !std::filesystem::exists(candidate, error)) continue;
            // Never unloaded: the module's objects live until the program ends.
            void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!handle) {
                const char* why = dlerror();
                failure = why ? why : candidate.string();
                return;
            }
            using Entry = const WorkbookModule* (*)();
            const auto entry = reinterpret_cast<Entry>(dlsym(handle, "soten_workbook_module"));
            if (entry) loaded = entry();
            if (!loaded) failure = candidate.string() + ": soten_workbook_module がありません";
            return;
        }
        failure = SOTEN_WORKBOOK_MODULE " が見つかりません";
    });
    if (!loaded) {
        throw WorkbookError("表計算ファイルを扱う部品を読み込めません（" + failure + "）");
    }
    return *loaded;
}

}  // namespace

const WorkbookModule& Workbooks() {
    return given ? *given : LoadedModule();
}

void UseWorkbookModule(const WorkbookModule& module) {
    given = &module;
}

bool StartsLikeZip(const std::string& path) {
    // Only a regular file is looked into: the bytes read from a pipe (a
    // named one, or <(...)) would be gone for the run that reads it.
    struct stat status {};
    if (path == "-" || stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::array<char, 4> magic{};
    const std::size_t got = std::fread(magic.data(), 1, magic.size(), file);
    std::fclose(file);
    return got == magic.size() && std::memcmp(magic.data(), "PK\x03\x04", 4) == 0;
}

}  // namespace soten::cli
