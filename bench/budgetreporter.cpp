#include "budgetreporter.h"

#include <iostream>
#include <utility>

BudgetReporter::BudgetReporter(std::map<std::string, double> budgets, std::map<std::string, Relative> relative)
    : ConsoleReporter(OO_Tabular) // plain text, also in CI logs
    , budgets(std::move(budgets))
    , relative(std::move(relative))
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
        const double milliseconds = run.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        measuredMs[run.benchmark_name()] = milliseconds;
        const auto budget = budgets.find(run.benchmark_name());
        if (budget == budgets.end())
            continue;
        if (milliseconds > budget->second) {
            std::cerr << run.benchmark_name() << " took " << milliseconds << " ms, over its budget of "
                      << budget->second << " ms\n";
            withinBudget = false;
        }
    }
}

void BudgetReporter::Finalize()
{
    ConsoleReporter::Finalize();
    for (const auto &[name, budget] : relative) {
        const auto measured = measuredMs.find(name);
        const auto reference = measuredMs.find(budget.to);
        if (measured == measuredMs.end() || reference == measuredMs.end())
            continue; // one of them was filtered out
        if (measured->second > reference->second * budget.factor) {
            std::cerr << name << " took " << measured->second << " ms, over " << budget.factor << " times " << budget.to
                      << "'s " << reference->second << " ms\n";
            withinBudget = false;
        }
    }
}
