// Writes data/given-name-traits.txt from the name data compiled into this
// build (rebuild after changing given-names.txt, name-likeness.txt or the
// readings, then run it):
//
//   build/tools/soten-given-name-traits           # writes the file
//   build/tools/soten-given-name-traits --check   # compares instead
//
// A second argument names another file than the repository's.

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "analysis/naming/GivenNameTraits.h"
#include "analysis/naming/NameSearchData.h"
#include "data/include/EmbeddedNameData.h"

int main(int argc, char** argv) {
    bool check = false;
    std::string path = SOTEN_SOURCE_DIR "/data/given-name-traits.txt";
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--check") {
            check = true;
        } else if (!argument.starts_with("-")) {
            path = argument;
        } else {
            std::cerr << "usage: soten-given-name-traits [--check] [FILE]\n";
            return 2;
        }
    }
    // The names as the program reads them, without the traits computed
    // before: every name is weighed afresh.
    const auto data = soten::NameSearchData::FromCp932(
        soten::embedded::GivenNamesCp932(), soten::embedded::NameKanjiCp932(),
        soten::embedded::KanjiReadingsCp932(), soten::embedded::NameLikenessCp932(),
        soten::embedded::KanjiFoldsCp932());
    const std::string text = soten::FormatGivenNameTraits(soten::ComputeGivenNameTraits(data));
    if (check) {
        std::ifstream in(path, std::ios::binary);
        const std::string committed{std::istreambuf_iterator<char>(in), {}};
        if (committed != text) {
            std::cerr << path << " is out of date: run soten-given-name-traits\n";
            return 1;
        }
        std::cout << path << " is up to date\n";
        return 0;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "cannot write " << path << '\n';
        return 1;
    }
    std::cout << "wrote " << data.NameCount() << " rows to " << path << '\n';
    return 0;
}
