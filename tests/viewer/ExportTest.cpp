#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Export.h"
#include "TempFolder.h"

namespace {

// Records what the export asked to be drawn where.
class TFakeImageWriter : public TPlotImageWriter {
public:
    bool WritePng(const std::vector<TCanvasOp>& ops, const std::string& path) override
    {
        written.push_back("png " + path + " " + std::to_string(ops.size()));
        return path != "unwritable.png";
    }
    bool WriteSvg(const std::vector<TCanvasOp>& ops, const std::string& path) override
    {
        written.push_back("svg " + path + " " + std::to_string(ops.size()));
        return true;
    }
    std::vector<std::string> written;
};

struct TExportRun {
    int exitCode;
    std::string out, err;
    std::vector<std::string> written;
};

TExportRun RunExport(std::vector<const char*> args)
{
    args.insert(args.begin(), "quelplot");
    std::ostringstream out, err;
    TFakeImageWriter writer;
    const int code = RunViewerExport(static_cast<int>(args.size()), args.data(), out, err, writer);
    return {code, out.str(), err.str(), writer.written};
}

const char* const TwoPoints = "2\n0\t1\t1\n1\t2\t1.5\n2\t2\t2\n";

TEST(Export, JsonCarriesReportCaptionMessageBoxAndEveryCanvasOperation)
{
    TTempFolder folder;
    WriteTextFile("c.tmp", TwoPoints);
    const TExportRun run = RunExport({"--graph", "c.tmp", "--mag", "0.5", "--json"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    const nlohmann::json result = nlohmann::json::parse(run.out);
    EXPECT_EQ(result["report"], nlohmann::json({"2", "CD0-CD1= -0.5", "CD1-CD2= -0.5,    0"}));
    EXPECT_EQ(result["button_caption"], "Graph");
    EXPECT_TRUE(result["message_box"].is_null());
    const nlohmann::json ops = nlohmann::json::parse(R"([
        ["SetPenColor", 16777215], ["SetBrushColor", 16777215], ["Rectangle", 7, 7, 420, 315],
        ["SetPenColor", 0],
        ["MoveTo", 10, 10], ["LineTo", 10, 310], ["LineTo", 410, 310],
        ["MoveTo", 10, 260], ["LineTo", 410, 260],
        ["Ellipse", 187, 67, 193, 73], ["Ellipse", 367, 67, 373, 73],
        ["Ellipse", 187, 254, 193, 260], ["Ellipse", 367, 257, 373, 263],
        ["MoveTo", 10, 190], ["LineTo", 190, 130], ["LineTo", 370, 70]])");
    EXPECT_EQ(result["ops"], ops);
}

TEST(Export, PlainOutputAndExitCodes)
{
    TTempFolder folder;
    WriteTextFile("c.tmp", TwoPoints);

    TExportRun graph = RunExport({"--graph", "c.tmp", "--png", "g.png", "--svg", "g.svg"});
    EXPECT_EQ(graph.exitCode, 0);
    EXPECT_EQ(graph.out, "2\nCD0-CD1= -0.5\nCD1-CD2= -0.5,    0\n");
    EXPECT_EQ(graph.written, (std::vector<std::string>{"png g.png 16", "svg g.svg 16"}));

    TExportRun missing = RunExport({"--distribution", "nothing.tmp", "--json", "--png", "d.png"});
    EXPECT_EQ(missing.exitCode, 1);
    const nlohmann::json result = nlohmann::json::parse(missing.out);
    EXPECT_EQ(result["button_caption"], "Draw");
    EXPECT_EQ(result["report"], nlohmann::json({"", "I can not open an input file.  001"}));
    EXPECT_EQ(missing.written, std::vector<std::string>{"png d.png 4"});  // the cleared area

    TExportRun mag = RunExport({"--graph", "c.tmp", "--mag", "x"});
    EXPECT_EQ(mag.exitCode, 1);
    EXPECT_EQ(mag.out, "2\n");
    EXPECT_EQ(mag.err, "'x' は浮動小数点数ではありません\n");

    TExportRun position = RunExport({"--distribution", "c.tmp", "--position", "1"});
    EXPECT_EQ(position.exitCode, 0);
    EXPECT_EQ(position.out, "2\n");

    TExportRun unwritable = RunExport({"--graph", "c.tmp", "--png", "unwritable.png"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err, "Cannot write unwritable.png\n");
}

TEST(Export, UsageErrorsExitWith2)
{
    for (auto args : std::vector<std::vector<const char*>>{
             {"--png", "x.png"},
             {"--graph", "a", "--distribution", "b"},
             {"--distribution", "a", "--mag", "2"},
             {"--graph", "a", "--position", "1"},
             {"--distribution", "a", "--position", "3"},
             {"--graph", "a", "--bogus"}}) {
        const TExportRun run = RunExport(args);
        EXPECT_EQ(run.exitCode, 2) << args[0] << " " << args[1];
        EXPECT_NE(run.err.find("Usage"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
