#ifndef BUDGETREPORTER_H
#define BUDGETREPORTER_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// Prints the results as usual and notes every benchmark that failed or took
// longer than its budget, so that a slower change fails the run.
class BudgetReporter : public benchmark::ConsoleReporter
{
public:
    // At most this many times another benchmark's real time.
    struct Relative
    {
        std::string to;
        double factor = 1;
    };

    // Real time per iteration, in milliseconds, by benchmark name.
    explicit BudgetReporter(std::map<std::string, double> budgets, std::map<std::string, Relative> relative = {});

    void ReportRuns(const std::vector<Run> &runs) override;
    // Compares the benchmarks with relative budgets, once all have run.
    void Finalize() override;
    bool allWithinBudget() const { return withinBudget; }

private:
    std::map<std::string, double> budgets;
    std::map<std::string, Relative> relative;
    std::map<std::string, double> measuredMs;
    bool withinBudget = true;
};

#endif
