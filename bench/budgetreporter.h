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
    // Real time per iteration, in milliseconds, by benchmark name.
    explicit BudgetReporter(std::map<std::string, double> budgets);

    void ReportRuns(const std::vector<Run> &runs) override;
    bool allWithinBudget() const { return withinBudget; }

private:
    std::map<std::string, double> budgets;
    bool withinBudget = true;
};

#endif
