#include "ui/shortlist/ShortlistStore.h"

#include "platform/files/FileErrors.h"
#include "platform/files/ShortlistFile.h"
#include "ui/app/MessageBoxes.h"

namespace soten::ui {

ShortlistStore::ShortlistStore(QObject* parent)
    : QObject(parent), file_(std::make_unique<platform::ShortlistFile>()) {}

ShortlistStore::~ShortlistStore() = default;

void ShortlistStore::Load() {
    if (loaded_) return;
    loaded_ = true;
    platform::LoadedShortlist loaded = file_->Load();
    list_ = std::move(loaded.list);
    if (!loaded.problem.empty()) ShowApplicationErrorBox(QString::fromStdString(loaded.problem));
}

void ShortlistStore::Save() {
    const int error = file_->Save(list_);
    if (error != 0) {
        ShowApplicationErrorBox(QStringLiteral("候補リストを保存できません。%1")
                                    .arg(QString::fromStdString(platform::FileErrorReason(error))));
    }
    emit Changed();
}

const Shortlist& ShortlistStore::List() {
    Load();
    return list_;
}

bool ShortlistStore::Contains(const ShortlistEntry& name) {
    return List().Find(name).has_value();
}

bool ShortlistStore::Add(ShortlistEntry entry) {
    Load();
    if (!list_.Add(std::move(entry))) return false;
    Save();
    return true;
}

bool ShortlistStore::Toggle(const ShortlistEntry& name) {
    Load();
    if (const auto index = list_.Find(name)) {
        Remove(*index);
        return false;
    }
    return Add(name);
}

void ShortlistStore::Remove(std::size_t index) {
    Load();
    if (index >= list_.Size()) return;
    list_.Remove(index);
    Save();
}

void ShortlistStore::Move(std::size_t from, std::size_t to) {
    Load();
    if (from >= list_.Size() || to >= list_.Size() || from == to) return;
    list_.Move(from, to);
    Save();
}

void ShortlistStore::SetNote(std::size_t index, std::string note) {
    Load();
    if (index >= list_.Size() || list_.Entries()[index].note == note) return;
    list_.SetNote(index, std::move(note));
    Save();
}

void ShortlistStore::Reorder(const std::vector<std::size_t>& order) {
    Load();
    list_.Reorder(order);
    Save();
}

}  // namespace soten::ui
