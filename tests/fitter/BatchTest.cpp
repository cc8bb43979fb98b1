#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "Batch.h"
#include "TempFolder.h"

namespace {

struct TBatchRun {
    int exitCode;
    std::string out, err;
};

TBatchRun RunBatch(std::vector<const char*> args)
{
    args.insert(args.begin(), "quelfit");
    std::ostringstream out, err;
    const int code = RunFitterBatch(static_cast<int>(args.size()), args.data(), out, err);
    return {code, out.str(), err.str()};
}

TEST(Batch, UsageErrorsExitWith2)
{
    EXPECT_FALSE(IsBatchInvocation(1, std::vector<const char*>{"quelfit"}.data()));
    for (auto args : std::vector<std::vector<const char*>>{
             {"--batch"}, {"--batch", "--fix", "e", "f.txt"}, {"--batch", "--skip", "5", "f.txt"},
             {"--batch", "--repeat", "0", "f.txt"}, {"--batch", "--bogus", "f.txt"}}) {
        TBatchRun run = RunBatch(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_NE(run.err.find("Usage"), std::string::npos) << args.back();
        EXPECT_EQ(run.out, "");
    }
}

TEST(Batch, PlainOutputSplitsReportFromBoxesAndMessages)
{
    TTempFolder folder;
    WriteTextFile("empty.txt", "");
    WriteTextFile("data.txt", "n\t3\n1\tNA\n2\t5\n3\t6\n");

    TBatchRun missing = RunBatch({"--batch", "--repeat", "2", "nothing.txt"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "\nI can not open an input file.\n\nI can not open an input file.\n");

    TBatchRun header = RunBatch({"--batch", "empty.txt"});
    EXPECT_EQ(header.exitCode, 1);
    EXPECT_EQ(header.out, "");
    EXPECT_EQ(header.err, "Invalid data structure....1\n");

    TBatchRun skip = RunBatch({"--batch", "--skip-n", "5a", "data.txt"});
    EXPECT_EQ(skip.exitCode, 1);
    EXPECT_EQ(skip.out, "j= 1  data=0\n");
    EXPECT_EQ(skip.err, "'5a' は整数ではありません\n");

    TBatchRun range = RunBatch({"--batch", "--skip", "3", "--skip-n", "1000", "data.txt"});
    EXPECT_EQ(range.out, "j= 1  data=0\nLow data quality!!\n");
    EXPECT_EQ(range.err, "NA\n");
}

TEST(Batch, JsonOneObjectPerRunAndBoxesCarryOver)
{
    TTempFolder folder;
    WriteTextFile("data.txt", "n\t2\n1\t4\n2\n");
    TBatchRun run = RunBatch({"--batch", "--json", "--repeat", "2", "--fix", "a", "--fix", "b",
                              "--fix", "c", "--fix", "d", "--a", "1.5", "data.txt"});
    EXPECT_EQ(run.exitCode, 1);
    std::istringstream lines(run.out);
    std::string line;
    int runs = 0;
    while (std::getline(lines, line)) {
        const nlohmann::json object = nlohmann::json::parse(line);
        EXPECT_EQ(object["report"], nlohmann::json({"All of a,b,c,d were checked."}));
        EXPECT_EQ(object["boxes"]["Edit1"], "1.5");
        EXPECT_EQ(object["boxes"]["Edit15"], "data.txt");
        EXPECT_EQ(object["boxes"]["Edit20"], "NA");
        EXPECT_TRUE(object["message_box"].is_null());
        ++runs;
    }
    EXPECT_EQ(runs, 2);
}

TEST(Batch, JsonCarriesTheEnginesLoopCountAndCode)
{
    TTempFolder folder;
    WriteTextFile("data.txt", ReadTextFile(std::string(QUEL_EXAMPLES) + "/decay.txt"));
    WriteTextFile("two.txt", "n\t2\n1\t1\n2\t3\n");
    TBatchRun run = RunBatch({"--batch", "--json", "data.txt"});
    EXPECT_EQ(run.exitCode, 0);
    const nlohmann::json object = nlohmann::json::parse(run.out);
    EXPECT_EQ(object["iret"], 1);
    EXPECT_GT(object["loop_count"].get<int>(), 0);
    EXPECT_EQ(object["report"].back().get<std::string>().substr(1, 1), ".");
    EXPECT_NE(ReadTextFile("TESTout.tmp"), "");

    TBatchRun trap = RunBatch({"--batch", "--json", "two.txt"});
    EXPECT_EQ(trap.exitCode, 1);
    const nlohmann::json trapped = nlohmann::json::parse(trap.out);
    EXPECT_EQ(trapped["message_box"], "不正な浮動小数点数演算命令");
    EXPECT_TRUE(trapped["loop_count"].is_null());
    EXPECT_TRUE(trapped["iret"].is_null());
}

}  // namespace
