#include "ui/shortlist/ShortlistStore.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>

#include "platform/files/FileErrors.h"
#include "platform/files/ShortlistFile.h"
#include "ui/app/MessageBoxes.h"

namespace soten::ui {

ShortlistStore::ShortlistStore(QObject* parent)
    : QObject(parent),
      file_(std::make_unique<platform::ShortlistFile>()),
      watcher_(new QFileSystemWatcher(this)) {
    // A replaced file is a new entry in the folder: the folder is watched.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &ShortlistStore::Refresh);
    // Where the system tells of no change (a network folder), coming back
    // to the program is the time to look.
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive) Refresh();
                });
    }
}

ShortlistStore::~ShortlistStore() = default;

void ShortlistStore::Watch() {
    if (!watcher_->directories().isEmpty() || file_->Path().empty()) return;
    const QString folder = QFileInfo(QString::fromStdString(file_->Path())).path();
    if (QFileInfo(folder).isDir()) watcher_->addPath(folder);
}

void ShortlistStore::Load() {
    if (loaded_) return;
    loaded_ = true;
    platform::LoadedShortlist loaded = file_->Load();
    list_ = std::move(loaded.list);
    Watch();
    if (!loaded.problem.empty()) {
        busy_ = true;
        ShowApplicationErrorBox(QString::fromStdString(loaded.problem));
        busy_ = false;
    }
}

void ShortlistStore::Refresh() {
    if (!loaded_ || busy_ || !file_->ChangedElsewhere()) return;
    if (!unsaved_.empty()) {
        Save();
        return;
    }
    platform::LoadedShortlist loaded = file_->Load();
    if (loaded.unread != 0) return;  // what is shown stays; a change will tell
    list_ = std::move(loaded.list);
    Watch();
    if (!loaded.problem.empty()) {
        busy_ = true;
        ShowApplicationErrorBox(QString::fromStdString(loaded.problem));
        busy_ = false;
    }
    emit Changed();
}

void ShortlistStore::Save() {
    platform::ChangedShortlist changed = file_->Change(unsaved_);
    // A list that was read holds the changes made elsewhere and these.
    if (changed.loaded.unread == 0) list_ = std::move(changed.loaded.list);
    if (changed.error == 0) {
        unsaved_.clear();
        toldUnsaved_ = false;
    }
    Watch();
    busy_ = true;
    if (changed.loaded.unread == 0 && !changed.loaded.problem.empty()) {
        ShowApplicationErrorBox(QString::fromStdString(changed.loaded.problem));
    }
    if (changed.error != 0 && !toldUnsaved_) {
        toldUnsaved_ = true;
        ShowApplicationErrorBox(
            QStringLiteral("候補リストを保存できません。%1")
                .arg(QString::fromStdString(platform::FileErrorReason(changed.error))));
    }
    busy_ = false;
    emit Changed();
}

bool ShortlistStore::Make(ShortlistChange change) {
    if (!ApplyChange(change, list_)) return false;
    unsaved_.push_back(std::move(change));
    Save();
    return true;
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
    return Make(AddName{std::move(entry)});
}

bool ShortlistStore::Toggle(const ShortlistEntry& name) {
    Load();
    if (list_.Find(name)) {
        Make(RemoveName{name});
        return false;
    }
    return Add(name);
}

void ShortlistStore::Remove(std::size_t index) {
    Load();
    if (index < list_.Size()) Make(RemoveName{list_.Entries()[index]});
}

void ShortlistStore::Restore(ShortlistEntry entry, std::size_t at) {
    Load();
    if (!Make(AddName{std::move(entry)})) return;
    if (at + 1 < list_.Size()) Move(list_.Size() - 1, at);
}

void ShortlistStore::Move(std::size_t from, std::size_t to) {
    Load();
    if (from >= list_.Size() || to >= list_.Size()) return;
    Make(MoveName{list_.Entries()[from], list_.Entries()[to], to});
}

void ShortlistStore::SetNote(std::size_t index, std::string note) {
    Load();
    if (index < list_.Size()) Make(NoteName{list_.Entries()[index], std::move(note)});
}

void ShortlistStore::Reorder(const std::vector<std::size_t>& order) {
    Load();
    ArrangeNames arranged;
    arranged.order.reserve(order.size());
    for (const std::size_t index : order) {
        if (index < list_.Size()) arranged.order.push_back(list_.Entries()[index]);
    }
    Make(std::move(arranged));
}

}  // namespace soten::ui
