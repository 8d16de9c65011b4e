#include "ui/naming/SearchRunner.h"

#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include "analysis/text/ShiftJis.h"

namespace soten::ui {

SearchRunner::SearchRunner(QObject* parent, const Tables& tables,
                           std::function<NameSearchFilters()> filters)
    : QObject(parent), tables_(tables), filters_(std::move(filters)) {
    debounce_ = new QTimer(this);
    debounce_->setSingleShot(true);
    debounce_->setInterval(80);
    watcher_ = new QFutureWatcher<NameSearchResult>(this);
    connect(debounce_, &QTimer::timeout, this, &SearchRunner::Start);
    connect(watcher_, &QFutureWatcher<NameSearchResult>::finished, this, &SearchRunner::Finish);
}

SearchRunner::~SearchRunner() {
    watcher_->waitForFinished();
}

void SearchRunner::Schedule() {
    debounce_->start();
}

bool SearchRunner::IsSearching() const {
    return debounce_->isActive() || searching_ || rerun_;
}

void SearchRunner::Start() {
    // Until its finished signal arrives a search counts as running, even once
    // its thread is done.
    if (searching_) {
        rerun_ = true;
        return;
    }
    searching_ = true;
    searched_ = filters_();
    const Tables* tables = &tables_;
    watcher_->setFuture(QtConcurrent::run([filters = searched_, tables] {
        return SearchNames(filters, *tables, BuiltInNameSearchData());
    }));
}

void SearchRunner::Finish() {
    searching_ = false;
    if (rerun_) {
        rerun_ = false;
        Start();
        return;
    }
    NameSearchResult result;
    if (watcher_->future().resultCount() > 0) {
        result = watcher_->result();
    } else {
        result.problem = Cp932Text("名字を入力してください");
    }
    emit PageReady(searched_, result);
}

}  // namespace soten::ui
