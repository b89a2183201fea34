#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

#include "formats/text_fields.h"
#include "platform/paths.h"
#include "tools/sim/options.h"
#include "tools/sim/parallel_run.h"
#include "tools/sim/process_figures.h"
#include "tools/sim/record_run.h"
#include "tools/sim/report.h"

// kvt-sim: plays seeded games with four computer players, headless and at
// full speed, and prints what happened.
int main(int argc, char** argv) {
    using namespace kvt::sim;
    using kvt::text_fields::ForTerminal;
    Options options;
    std::string error;
    switch (ParseOptions(argc, argv, options, error)) {
    case ParseResult::Help:
        std::cout << UsageText();
        return 0;
    case ParseResult::Version:
        std::cout << "kvt-sim 0.1.0\n";
        return 0;
    case ParseResult::Error:
        std::cerr << "kvt-sim: " << ForTerminal(error) << " (try --help)\n";
        return 2;
    case ParseResult::Run:
        break;
    }

    if (!options.Replay.empty()) {
        std::string message;
        const int status = ReplayRecordFile(options, kvt::DefaultFolders().SharedData, message);
        (status == 0 ? std::cout : std::cerr) << (status == 0 ? "" : "kvt-sim: ") << ForTerminal(message) << "\n";
        return status;
    }

    ParallelRun run;
    if (kvt::Status s = run.Setup(options, kvt::DefaultFolders().SharedData, JobsFor(options.Jobs)); !s) {
        std::cerr << "kvt-sim: " << ForTerminal(s.message()) << "\n";
        return 1;
    }
    std::ofstream trace;
    if (!options.Trace.empty()) {
        trace.open(options.Trace, std::ios::binary | std::ios::trunc);
        if (!trace) {
            std::cerr << "kvt-sim: cannot write the trace file \"" << ForTerminal(options.Trace.string()) << "\"\n";
            return 1;
        }
    }

    const auto start = std::chrono::steady_clock::now();
    const RunOutcome outcome = run.Play(trace.is_open() ? &trace : nullptr);
    Stats stats = outcome.Figures;
    stats.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    stats.PeakRssKb = PeakResidentKb();
    stats.OpenFiles = OpenFileCount();
    if (!outcome.Finished) {
        const std::string& fault = outcome.Fault;
        if (options.Check && fault.find("could not be dealt") == std::string::npos) {
            std::cerr << "kvt-sim: check failed in " << ForTerminal(fault) << "\n";
            return 3;
        }
        std::cerr << "kvt-sim: " << ForTerminal(fault) << "\n";
        return 1;
    }

    if (!options.Record.empty()) {
        std::string message;
        if (WriteRecordFile(options, kvt::DefaultFolders().SharedData, message) != 0) {
            std::cerr << "kvt-sim: " << ForTerminal(message) << "\n";
            return 1;
        }
    }
    if (options.Signature) {
        std::cout << stats.Signature << "\n";
        return 0;
    }
    const char* no_time = std::getenv("KVT_SIM_NO_TIME");
    const bool with_time = !(no_time && std::strcmp(no_time, "1") == 0);
    if (options.Json)
        PrintJson(std::cout, stats, with_time);
    else
        PrintText(std::cout, stats, with_time);
    return 0;
}
