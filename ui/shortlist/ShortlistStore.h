#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "analysis/shortlist/Shortlist.h"

namespace soten::platform {
class ShortlistFile;
}

namespace soten::ui {

// The parent's shortlist as the windows share it: read from its file at the
// first use, written back after every change. A damaged file is reported
// once (the error box) and kept aside by the file layer; a change that cannot
// be written is reported and stays in memory, so nothing typed is lost while
// the program runs.
class ShortlistStore : public QObject {
    Q_OBJECT

public:
    explicit ShortlistStore(QObject* parent);
    ~ShortlistStore() override;

    const Shortlist& List();
    bool Contains(const ShortlistEntry& name);

    // Each change is written at once; Changed follows.
    bool Add(ShortlistEntry entry);
    // Adds the name, or removes it when it is there; true when it was added.
    bool Toggle(const ShortlistEntry& name);
    void Remove(std::size_t index);
    void Move(std::size_t from, std::size_t to);
    void SetNote(std::size_t index, std::string note);
    void Reorder(const std::vector<std::size_t>& order);

signals:
    void Changed();

private:
    void Load();
    void Save();

    std::unique_ptr<platform::ShortlistFile> file_;
    Shortlist list_;
    bool loaded_ = false;
};

}  // namespace soten::ui
