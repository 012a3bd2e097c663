#pragma once
// Computes how many AND terms a truth table needs (minimumcover.h) on a
// thread of its own, so that no window ever waits for the proof. Starting
// again, or Cancel(), stops the computation under way and drops its result.
// Finished() is emitted on the owner's thread when the latest computation
// has ended; Result() then holds it.
#include "minimumcover.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class MinimumTermsTask : public QObject {
    Q_OBJECT
public:
    explicit MinimumTermsTask(QObject* parent = nullptr);
    // Stops every computation and waits for its thread.
    ~MinimumTermsTask() override;

    // Starts on a copy of the table (2^numInputs x numOutputs cells).
    void Start(TruthTable cells, int32_t numInputs, int32_t numOutputs);
    void Cancel();

    bool Busy() const { return busy_; }
    // The latest finished computation (nothing while busy or cancelled).
    const std::optional<TableCover>& Result() const { return result_; }

    // Per output, what the search may spend before it gives up a proof
    // (its cancel flag is the task's own).
    CoverLimits Limits{DefaultCoverNodeBudget, DefaultCoverTimeLimit, nullptr};

signals:
    void Finished();

private:
    struct Job;
    void Done(uint64_t id, TableCover cover);
    void JoinFinishedJobs();

    std::vector<std::unique_ptr<Job>> jobs_;
    uint64_t latest_ = 0;
    bool busy_ = false;
    std::optional<TableCover> result_;
};
