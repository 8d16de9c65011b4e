#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <functional>

#include "analysis/naming/NameSearch.h"
#include "analysis/reading/Tables.h"

class QTimer;

namespace soten::ui {

// Runs the name search off the GUI thread, so typing never waits for it:
// Schedule() starts a search shortly after the last call, with the filters
// `filters` gives at that moment, and one search runs at a time (a request
// while one runs starts another after it). The name data loads with the
// first search. Each search that is not overtaken ends in PageReady.
class SearchRunner : public QObject {
    Q_OBJECT

public:
    SearchRunner(QObject* parent, const Tables& tables, std::function<NameSearchFilters()> filters);
    // Waits for a running search: it reads the tables.
    ~SearchRunner() override;

    void Schedule();
    // True while a search is running or waiting to run.
    bool IsSearching() const;

signals:
    // The filters searched and what the search found.
    void PageReady(const soten::NameSearchFilters& filters, const soten::NameSearchResult& result);

private:
    void Start();
    void Finish();

    const Tables& tables_;
    std::function<NameSearchFilters()> filters_;
    QTimer* debounce_;
    QFutureWatcher<NameSearchResult>* watcher_;
    NameSearchFilters searched_;
    bool searching_ = false;
    bool rerun_ = false;
};

}  // namespace soten::ui
