#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/batch/WorkbookModule.h"

namespace soten::cli {
namespace {

// Only a regular file that begins as a zip is taken for a workbook to ask
// the module about; a pipe is never read ahead.
TEST(WorkbookModule, OnlyARegularFileThatBeginsAsAZipIsLookedInto) {
    std::string folder = (std::filesystem::temp_directory_path() / "soten-zip-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    std::ofstream(folder + "/book.xlsx", std::ios::binary) << std::string("PK\x03\x04rest", 8);
    std::ofstream(folder + "/names.txt") << "山田 太郎\n";
    std::ofstream(folder + "/short") << "PK";
    ASSERT_EQ(mkfifo((folder + "/pipe").c_str(), 0600), 0);
    const struct {
        std::string path;
        bool zip;
    } cases[] = {{folder + "/book.xlsx", true}, {folder + "/names.txt", false},
                 {folder + "/short", false},    {folder + "/pipe", false},
                 {folder + "/missing", false},  {"-", false}};
    for (const auto& c : cases) EXPECT_EQ(StartsLikeZip(c.path), c.zip) << c.path;
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace soten::cli
