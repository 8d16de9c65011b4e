#include "platform/files/ShortlistFile.h"

#include <cerrno>

#include "analysis/text/Cp932.h"
#include "platform/files/FileErrors.h"

namespace soten::platform {

ShortlistFile::ShortlistFile() : file_("shortlist.json") {}

LoadedShortlist ShortlistFile::Load() {
    LoadedShortlist loaded;
    const UserDataFile::Content content = file_.Read(MaxBytes);
    std::string& problem = loaded.problem;
    std::string reason;
    switch (content.state) {
        case UserDataFile::State::Missing:
            return loaded;
        case UserDataFile::State::Unavailable:
            problem = "候補リストのフォルダ";
            if (!file_.Folder().empty()) {
                problem += ' ';
                problem += file_.Folder();
                problem += ' ';
            }
            problem += "が使えないため、空のリストで始めます。（";
            problem += FileErrorReason(content.error);
            problem += "）";
            return loaded;
        case UserDataFile::State::Read: {
            std::string error;
            if (auto list = ShortlistFromJson(content.bytes, error)) {
                loaded.list = std::move(*list);
                return loaded;
            }
            reason = Cp932::ToUtf8Lossy(error);
            break;
        }
        case UserDataFile::State::Damaged:
            reason = FileErrorReason(content.error);
            break;
    }
    problem = "候補リストのファイル ";
    problem += file_.Path();
    if (const int error = file_.SetAside(loaded.movedTo)) {
        problem += " が読めず（";
        problem += reason;
        problem += "）、別の名前にも移せません（";
        problem += FileErrorReason(error);
        problem += "）。空のリストで始め、このファイルは上書きしません。";
        return loaded;
    }
    problem += " が読めないため、";
    if (!loaded.movedTo.empty()) {  // else it went while it was being moved
        problem += loaded.movedTo;
        problem += " に移して";
    }
    problem += "空のリストで始めます。（";
    problem += reason;
    problem += "）";
    return loaded;
}

int ShortlistFile::Save(const Shortlist& list) {
    const std::string json = ShortlistToJson(list);
    // Written, it would be taken as damaged at the next start; the file
    // there keeps the list as it was.
    if (json.size() > MaxBytes) return EFBIG;
    return file_.Write(json);
}

}  // namespace soten::platform
