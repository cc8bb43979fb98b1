#include "Batch.h"

#include <cstring>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "MemoryFitterWindow.h"
#include "RunControl.h"

namespace {

using C = TFitterControl;

struct TBatchOptions {
    bool hole = false;
    std::vector<std::string> fixed;
    std::string a, b, c, d;
    std::vector<int> skipped;
    std::string skipN;
    int repeat = 1;
    bool json = false;
    std::string file;
};

void ConfigureWindow(const TBatchOptions& options, const CLI::App& app, TMemoryFitterWindow& window)
{
    window.SetChecked(C::RadioButton2, options.hole);
    const C fixBoxes[] = {C::CheckBox1, C::CheckBox2, C::CheckBox3, C::CheckBox4};
    for (const std::string& name : options.fixed) window.SetChecked(fixBoxes[name[0] - 'a'], true);
    const std::pair<const char*, C> initials[] = {{"--a", C::Edit1}, {"--b", C::Edit2},
                                                  {"--c", C::Edit3}, {"--d", C::Edit4}};
    const std::string* texts[] = {&options.a, &options.b, &options.c, &options.d};
    for (int i = 0; i < 4; ++i) {
        if (app.count(initials[i].first) > 0) window.boxes[initials[i].second] = *texts[i];
    }
    const C skipBoxes[] = {C::CheckBox5, C::CheckBox6, C::CheckBox7, C::CheckBox8};
    for (int point : options.skipped) window.SetChecked(skipBoxes[point - 1], true);
    if (app.count("--skip-n") > 0) {
        window.SetChecked(C::CheckBox9, true);
        window.boxes[C::Edit20] = options.skipN;
    }
    window.boxes[C::Edit15] = options.file;
}

nlohmann::json RunObject(TMemoryFitterWindow& window, const TFitterState& state,
                         const std::vector<std::string>& report)
{
    nlohmann::json boxes = nlohmann::json::object();
    for (C box : {C::Edit1, C::Edit2, C::Edit3, C::Edit4, C::Edit5, C::Edit6, C::Edit7, C::Edit8,
                  C::Edit15, C::Edit20}) {
        boxes[ControlName(box)] = window.boxes[box];
    }
    nlohmann::json run = {{"report", report}, {"boxes", boxes}};
    run["message_box"] = window.messageBoxes.empty() ? nlohmann::json(nullptr)
                                                     : nlohmann::json(window.messageBoxes.back());
    run["loop_count"] = state.LastRun.EngineEntered ? nlohmann::json(state.Engine.LoopCount)
                                                    : nlohmann::json(nullptr);
    run["iret"] = state.LastRun.ReturnCode != 0 ? nlohmann::json(state.LastRun.ReturnCode)
                                                : nlohmann::json(nullptr);
    return run;
}

// One Start on the window; prints what it showed and tells whether the run
// reached its end.
bool RunOnce(TMemoryFitterWindow& window, TFitterState& state, bool json, std::ostream& out,
             std::ostream& err)
{
    window.report.clear();
    window.messageBoxes.clear();
    window.boxWrites.clear();
    const bool reachedEnd = Button1Click(window, state);
    if (json) {
        out << RunObject(window, state, window.report).dump() << '\n';
    } else {
        for (const std::string& line : window.report) out << line << '\n';
        for (C box : window.boxWrites) {
            if (box == C::Edit15 || box == C::Edit20) err << window.boxes[box] << '\n';
        }
        for (const std::string& text : window.messageBoxes) err << text << '\n';
    }
    return reachedEnd;
}

}  // namespace

bool IsBatchInvocation(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--batch") == 0) return true;
    }
    return false;
}

int RunFitterBatch(int argc, const char* const* argv, std::ostream& out, std::ostream& err)
{
    CLI::App app("Quelfit without a window: runs Start on FILE and prints the report.", "quelfit");
    TBatchOptions options;
    app.add_flag("--batch", "run without a window (required)")->required();
    app.add_flag("--hole", options.hole, "the Hole option (measured values negated for the fit)");
    app.add_option("--fix", options.fixed, "hold a parameter fixed (Fixed a ... d)")
        ->check(CLI::IsMember({"a", "b", "c", "d"}));
    app.add_option("--a", options.a, "Initial Number of a (Edit1)");
    app.add_option("--b", options.b, "Initial Number of b (Edit2)");
    app.add_option("--c", options.c, "Initial Number of c (Edit3)");
    app.add_option("--d", options.d, "Initial Number of d (Edit4)");
    app.add_option("--skip", options.skipped, "skip point 1, 2, 3 or 4")->check(CLI::Range(1, 4));
    app.add_option("--skip-n", options.skipN, "skip the point given by this text (Edit20)");
    app.add_option("--repeat", options.repeat, "run Start this many times")->check(CLI::PositiveNumber);
    app.add_flag("--json", options.json, "one JSON object per run");
    app.add_option("FILE", options.file, "the measurement file (Edit15)")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        err << error.what() << "\n\n" << app.help();
        return 2;
    }

    TMemoryFitterWindow window;
    ConfigureWindow(options, app, window);
    TFitterState state;
    bool everyRunReachedItsEnd = true;
    for (int run = 0; run < options.repeat; ++run) {
        if (!RunOnce(window, state, options.json, out, err)) everyRunReachedItsEnd = false;
    }
    return everyRunReachedItsEnd ? 0 : 1;
}
