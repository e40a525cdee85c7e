#include "budgetreporter.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// Rendering the page, on its own and as the whole PDF, and writing the labels must feel
// instant; an edit shows at once and is stored by the store's thread, both of its files synced
// to the disk, soon after (the disk's time, which varies from run to run); the
// print preview must open without a wait; while another side holds the store's lock, the
// window answers as ever; "render --check" of the longest names there may be takes at most a second.
const std::map<std::string, double> budgetsMs{{"paintPageIntoImage", 50.0},
                                              {"writePdf/threeLines", 50.0},
                                              {"writePdf/longNames", 50.0},
                                              {"writeLabels", 50.0},
                                              {"printPreview", 300.0},
                                              {"editStoredNames", 50.0},
                                              {"windowWhileLocked/iterations:1/manual_time", 100.0},
                                              {"checkLongestNames", 1000.0}};

// Names as long as a name may be, stored in every cell, slow the window's start by at most
// as much again as it takes without names.
const std::map<std::string, BudgetReporter::Relative> relativeBudgets{
    {"startWithNames/longest/iterations:10/manual_time", {"startWithNames/none/iterations:10/manual_time", 2.0}}};

} // namespace

int main(int argc, char *argv[])
{
    // Fonts, painting and the names table need an application object; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    BudgetReporter reporter(budgetsMs, relativeBudgets);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.allWithinBudget() ? 0 : 1;
}
