#include "platform/files/ShortlistFile.h"

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
    return file_.Write(ShortlistToJson(list));
}

}  // namespace soten::platform
