#include "budgetreporter.h"

#include <iostream>
#include <utility>

BudgetReporter::BudgetReporter(std::map<std::string, double> budgets)
    : ConsoleReporter(OO_Tabular) // plain text, also in CI logs
    , budgets(std::move(budgets))
{
}

void BudgetReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        if (run.error_occurred) {
            std::cerr << run.benchmark_name() << " failed: " << run.error_message << '\n';
            withinBudget = false;
            continue;
        }
        const auto budget = budgets.find(run.benchmark_name());
        if (budget == budgets.end())
            continue;
        const double milliseconds = run.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        if (milliseconds > budget->second) {
            std::cerr << run.benchmark_name() << " took " << milliseconds << " ms, over its budget of "
                      << budget->second << " ms\n";
            withinBudget = false;
        }
    }
}
