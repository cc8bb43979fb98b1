#include "Export.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "MemoryViewerWindow.h"
#include "ViewerHandlers.h"

namespace {

struct TExportOptions {
    std::string graphFile;
    std::string distributionFile;
    std::string mag = "1.0";
    int position = 2;
    std::string png;
    std::string svg;
    bool json = false;
};

nlohmann::json OpsAsJson(const std::vector<TCanvasOp>& ops)
{
    nlohmann::json list = nlohmann::json::array();
    for (const TCanvasOp& op : ops) {
        nlohmann::json entry = {CanvasOpName(op.kind)};
        for (int arg : op.args) entry.push_back(arg);
        list.push_back(entry);
    }
    return list;
}

void PrintOutcome(const TMemoryViewerWindow& window, bool json, std::ostream& out,
                  std::ostream& err)
{
    if (json) {
        nlohmann::json result = {{"report", window.report},
                                 {"button_caption", window.buttonCaption}};
        result["message_box"] = window.messageBoxes.empty()
                                    ? nlohmann::json(nullptr)
                                    : nlohmann::json(window.messageBoxes.back());
        result["ops"] = OpsAsJson(window.canvas.ops);
        out << result.dump() << '\n';
        return;
    }
    for (const std::string& line : window.report) out << line << '\n';
    for (const std::string& text : window.messageBoxes) err << text << '\n';
}

bool WriteImages(const TExportOptions& options, const std::vector<TCanvasOp>& ops,
                 TPlotImageWriter& writer, std::ostream& err)
{
    bool written = true;
    if (!options.png.empty() && !writer.WritePng(ops, options.png)) {
        err << "Cannot write " << options.png << '\n';
        written = false;
    }
    if (!options.svg.empty() && !writer.WriteSvg(ops, options.svg)) {
        err << "Cannot write " << options.svg << '\n';
        written = false;
    }
    return written;
}

}  // namespace

int RunViewerExport(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                    TPlotImageWriter& writer)
{
    CLI::App app("Quelplot without a window: draws a curve file as Graph or Distribution Check "
                 "would and prints what the operation reports. Without arguments the window opens.",
                 "quelplot");
    TExportOptions options;
    CLI::Option_group* operation = app.add_option_group("operation", "exactly one of");
    CLI::Option* graph =
        operation->add_option("--graph", options.graphFile, "Graph of this curve file");
    operation->add_option("--distribution", options.distributionFile,
                          "Distribution Check of this curve file");
    operation->require_option(1);
    app.add_option("--mag", options.mag, "text of the Mag. box (default 1.0)")->needs(graph);
    app.add_option("--position", options.position,
                       "plotting position: 1 for i/(n+1), 2 for (i-0.3)/(n+0.4) (default)")
            ->check(CLI::IsMember({1, 2}))
            ->excludes(graph);
    app.add_option("--png", options.png, "write the plot area as a PNG image");
    app.add_option("--svg", options.svg, "write the plot area as an SVG drawing");
    app.add_flag("--json", options.json, "print one JSON object with the canvas operations");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        err << error.what() << "\n\n" << app.help();
        return 2;
    }

    TMemoryViewerWindow window;
    window.boxes[TViewerControl::Edit1] = options.mag;
    window.radioButton1Checked = options.position == 1;
    bool reachedEnd;
    if (graph->count() > 0) {
        window.boxes[TViewerControl::Edit3] = options.graphFile;
        reachedEnd = Button1Click(window);
    } else {
        window.boxes[TViewerControl::Edit3] = options.distributionFile;
        reachedEnd = Button4Click(window);
    }
    PrintOutcome(window, options.json, out, err);
    const bool written = WriteImages(options, window.canvas.ops, writer, err);
    return reachedEnd && written ? 0 : 1;
}
