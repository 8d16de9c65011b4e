#include "platform/files/ShortlistFile.h"

#include <cerrno>

#include "analysis/text/Cp932.h"
#include "platform/files/FileErrors.h"

namespace soten::platform {

ShortlistFile::ShortlistFile() : file_("shortlist.json") {}

LoadedShortlist ShortlistFile::Load() {
    UniqueFd lock;
    file_.Lock(false, lock);
    return ReadLocked();
}

ChangedShortlist ShortlistFile::Change(const std::vector<ShortlistChange>& changes) {
    ChangedShortlist changed;
    UniqueFd lock;
    if ((changed.error = file_.Lock(true, lock)) != 0) {
        changed.loaded.unread = changed.error;
        return changed;
    }
    changed.loaded = ReadLocked();
    if ((changed.error = changed.loaded.unread) != 0) return changed;
    for (const ShortlistChange& change : changes) ApplyChange(change, changed.loaded.list);
    changed.error = Save(changed.loaded.list);
    stamp_ = file_.Current();
    return changed;
}

bool ShortlistFile::ChangedElsewhere() const {
    return !(file_.Current() == stamp_);
}

LoadedShortlist ShortlistFile::ReadLocked() {
    LoadedShortlist loaded;
    const UserDataFile::Content content = file_.Read(MaxBytes);
    std::string& problem = loaded.problem;
    std::string reason;
    stamp_ = content.stamp;
    switch (content.state) {
        case UserDataFile::State::Missing:
            return loaded;
        case UserDataFile::State::Unreadable:
            loaded.unread = content.error;
            problem = "候補リストのファイル ";
            problem += file_.Path();
            problem +=
                " が読めないため、空のリストで始めます。読めるようになるまで、"
                "このファイルは上書きしません。（";
            problem += FileErrorReason(content.error);
            problem += "）";
            return loaded;
        case UserDataFile::State::Unavailable:
            loaded.unread = content.error;
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
    const int asideError = file_.SetAside(loaded.movedTo);
    stamp_ = file_.Current();
    if (const int error = asideError) {
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
