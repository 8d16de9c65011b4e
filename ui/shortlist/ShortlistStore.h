#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "analysis/shortlist/Shortlist.h"
#include "analysis/shortlist/ShortlistChange.h"

class QFileSystemWatcher;

namespace soten::platform {
class ShortlistFile;
}

namespace soten::ui {

// The parent's shortlist as the windows share it: read from its file at the
// first use, and read again whenever another program (a second window, say)
// has changed the file. Each change is made on the list as the file holds
// it at that moment and written at once, so two programs changing it lose
// nothing of each other's. A damaged file is reported once (the error box)
// and kept aside by the file layer. A change that cannot be written is
// reported (once, until one is written) and stays in memory, to be written
// with the next one that can be, so nothing typed is lost while the program
// runs; a file that could not be read is never written over.
class ShortlistStore : public QObject {
    Q_OBJECT

public:
    explicit ShortlistStore(QObject* parent);
    ~ShortlistStore() override;

    const Shortlist& List();
    bool Contains(const ShortlistEntry& name);

    // Each change is written at once; Changed follows. Rows are those of
    // List() as it is.
    bool Add(ShortlistEntry entry);
    // Adds the name, or removes it when it is there; true when it was added.
    bool Toggle(const ShortlistEntry& name);
    void Remove(std::size_t index);
    // Puts a name back where it was (its note with it): added, then moved
    // to `at`, or last when the list is shorter now.
    void Restore(ShortlistEntry entry, std::size_t at);
    void Move(std::size_t from, std::size_t to);
    void SetNote(std::size_t index, std::string note);
    void Reorder(const std::vector<std::size_t>& order);

    // Reads the file again when another program has changed it since (and
    // writes what could not be written yet); Changed follows a new list.
    void Refresh();

signals:
    void Changed();

private:
    void Load();
    bool Make(ShortlistChange change);
    void Save();
    void Watch();

    std::unique_ptr<platform::ShortlistFile> file_;
    QFileSystemWatcher* watcher_;
    Shortlist list_;
    // Made on list_ but not in the file yet.
    std::vector<ShortlistChange> unsaved_;
    bool loaded_ = false;
    bool toldUnsaved_ = false;
    bool busy_ = false;  // a message box of a load or save is open
};

}  // namespace soten::ui
