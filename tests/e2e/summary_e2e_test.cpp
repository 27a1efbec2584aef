// Per-try figures and the summary page end to end: the engine and checktool-cli against the product
// lab, and the bundle's page loaded by a real browser when one is installed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <filesystem>
#include <fstream>

#include "engine/CCheckHost.h"
#include "engine/diagnosis_run.h"
#include "sys/run_and_capture.h"
#include "tests/e2e/child_process.h"
#include "tests/e2e/lab_product_support.h"
#include "tests/engine/recording_run_events.h"
#include "tests/report/zip_test_support.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string kCli = std::string(CHECKTOOL_BINARY_DIR) + "/cli/checktool-cli";
const std::string kHostileTitle = "<script>alert(1)</script>";
#ifdef _WIN32
// A Windows file name cannot hold " < or >.
const std::string kHostileFile = "a&b.log";
const std::string kHostileFileEscaped = "a&amp;b.log";
#else
const std::string kHostileFile = "a&\"<>.log";
const std::string kHostileFileEscaped = "a&amp;&quot;&lt;&gt;.log";
#endif

// Nine good answers and then a failure, and a server that fails at once.
const char* kServers = R"("web": ["127.0.0.1:{late}"], "api": ["127.0.0.1:{gone}"])";
const char* kScript = R"("http": [{"name": "late", "steps": [{"status": 200, "repeat": 9}, {"status": 500}]},
                                  {"name": "gone", "steps": [{"status": 404}]}])";

// A bundle made by checktool-cli --save-log for a product with a hostile title and a hostile log
// file name; the summary page is taken out of it.
struct LabBundle {
    ProductLab lab;
    std::string json;
    std::string page;
    std::string page_path;

    void make() {
        const std::string product = forward_slashes(lab.folder()) + "/product";
        const std::string home = forward_slashes(lab.folder()) + "/home";
        ASSERT_TRUE(lab.start(
            lab_scenario(R"({"product title": ")" + kHostileTitle + R"(", "product path agent": ")" +
                             product + R"(/Agent", "product path viewer": ")" + product +
                             R"(/Viewer", "agent log path": ")" + product + R"(/Log", )" + kServers + "}",
                         kScript)))
            << lab.error();
        std::filesystem::create_directories(product + "/Log");
        std::filesystem::create_directories(product + "/Agent");
        std::ofstream(product + "/Agent/agent.bin") << "agent";
        std::ofstream(product + "/Log/" + kHostileFile) << "agent log line\n";
        ChildProcess cli;
        ASSERT_TRUE(cli.start({kCli, "--web-host", "127.0.0.1", "--web-port",
                               std::to_string(lab.port("web_https")), "--save-log", "--json"},
                              {{"HOME", home}, {"XDG_DATA_HOME", home + "/data"}}));
        json = cli.read_rest();
        cli.wait();
        rapidjson::Document result;
        ASSERT_FALSE(result.Parse(json.c_str()).HasParseError()) << json;
        ASSERT_TRUE(result["archive"].IsString()) << json;
        page_path = lab.folder() + "/check_result.html";
        page = unzip_entry(result["archive"].GetString(), "check_result.html");
        ASSERT_FALSE(page.empty());
        std::ofstream(page_path, std::ios::binary) << page;
    }
};

bool chromium_installed() {
    return !run_and_capture("command -v chromium", 10000).empty();
}

}  // namespace

TEST(PerTryFigures, EveryTryIsKeptAlsoTheOneThatEndsAnHttpCheck) {
    ProductLab lab;
    ASSERT_TRUE(lab.start(lab_scenario(lab_check_list(kServers), kScript))) << lab.error();
    CCheckHost host;
    std::string failure;
    ASSERT_TRUE(load_from_lab(host, lab, failure)) << failure;
    RecordingRunEvents events;
    DiagnosisRun run(host, events);
    ASSERT_TRUE(run.start());
    run.wait();
    ASSERT_EQ(run.rows().size(), 3u);
    EXPECT_TRUE(run.rows()[0].record.tries.empty()) << "the account check makes no tries";

    const CCheckParam& api = run.rows()[1].record;
    ASSERT_EQ(api.tries.size(), 1u) << "an HTTP failure ends the check";
    EXPECT_EQ(api.tries[0].result, (ResultCode{404, 0}));
    EXPECT_EQ(api.elapsed_ms, 0) << "its try is kept but does not count in the average";

    const CCheckParam& web = run.rows()[2].record;
    ASSERT_EQ(web.tries.size(), 10u);
    for (int t = 0; t < 9; ++t) EXPECT_EQ(web.tries[t].result, RESULT_OK) << t;
    EXPECT_EQ(web.tries[9].result, (ResultCode{500, 0}));
    EXPECT_EQ(web.result, (ResultCode{500, 0}));
    int sum = 0;
    for (int t = 0; t < 9; ++t) sum += web.tries[t].elapsed_ms;
    EXPECT_EQ(web.elapsed_ms, sum / 10) << "the average keeps its meaning: nine tries over ten";
    EXPECT_GT(run.started_at(), 0);
    EXPECT_GE(run.ended_at(), run.started_at());
}

TEST(SummaryBundle, JsonFiguresAndThePageWithEveryCheckAndFile) {
    LabBundle bundle;
    ASSERT_NO_FATAL_FAILURE(bundle.make());
    rapidjson::Document json;
    json.Parse(bundle.json.c_str());
    const auto& items = json["items"];
    ASSERT_EQ(items.Size(), 3u);
    EXPECT_EQ(items[0]["tries"].Size(), 0u);
    EXPECT_TRUE(items[0]["min_ms"].IsNull());
    EXPECT_TRUE(items[0]["median_ms"].IsNull());
    EXPECT_TRUE(items[0]["max_ms"].IsNull());
    EXPECT_EQ(items[1]["tries"].Size(), 1u);
    EXPECT_EQ(items[1]["tries"][0]["result"].GetInt(), 404);
    const auto& web = items[2];
    ASSERT_EQ(web["tries"].Size(), 10u);
    EXPECT_EQ(web["tries"][9]["result"].GetInt(), 500);
    int lowest = 1 << 30, highest = -1;
    for (const auto& t : web["tries"].GetArray()) {
        lowest = std::min(lowest, t["elapsed_ms"].GetInt());
        highest = std::max(highest, t["elapsed_ms"].GetInt());
    }
    EXPECT_EQ(web["min_ms"].GetInt(), lowest);
    EXPECT_EQ(web["max_ms"].GetInt(), highest);
    EXPECT_GE(web["median_ms"].GetInt(), lowest);
    EXPECT_LE(web["median_ms"].GetInt(), highest);

    const std::string& page = bundle.page;
    EXPECT_EQ(count_of(page, "<tr class=\"check"), 3);
    EXPECT_EQ(count_of(page, "<tr class=\"check failed\""), json["failures"].GetInt())
        << "the account check fails unless this runs as an administrator";
    EXPECT_THAT(page, HasSubstr("<h1>&lt;script&gt;alert(1)&lt;/script&gt; Check Tool</h1>"));
    EXPECT_THAT(page, Not(HasSubstr(kHostileTitle)));
    EXPECT_THAT(page, HasSubstr("<td>" + kHostileFileEscaped + "</td>")) << "the packed log file, escaped";
    EXPECT_THAT(page, HasSubstr("Internal server error"));
    EXPECT_THAT(page, HasSubstr("<td>check_result.txt</td>"));
    EXPECT_THAT(page, HasSubstr("<td>fileinfo_agent_app.txt</td>"));
    EXPECT_THAT(page,
                HasSubstr("<td class=\"mono\">fileinfo_agent_web.txt</td><td>not made: the check list names "
                          "no such program folder</td>"));
    // Windows names the folder with its own separators.
    EXPECT_THAT(forward_slashes(page),
                HasSubstr("<td class=\"mono\">fileinfo_customer.txt</td><td>not made: " +
                          forward_slashes(bundle.lab.folder()) + "/product/Viewer does not exist</td>"));
}

TEST(SummaryBundle, ChromiumShowsOneRowPerCheckAndNoScript) {
#ifdef _WIN32
    GTEST_SKIP() << "the page is rendered by the Linux chromium, which a Windows test cannot start";
#endif
    if (!chromium_installed()) GTEST_SKIP() << "chromium is not installed (scripts/bootstrap installs it)";
    LabBundle bundle;
    ASSERT_NO_FATAL_FAILURE(bundle.make());
    // The browser's own parse of the page, after loading it; its sandbox will not run as root.
    const std::string dom = run_and_capture(
        "chromium --headless --no-sandbox --disable-gpu --user-data-dir='" + bundle.lab.folder() +
            "/browser' --dump-dom 'file://" + bundle.page_path + "' 2>/dev/null",
        120000);
    ASSERT_THAT(dom, HasSubstr("id=\"result-table\"")) << dom.substr(0, 2000);
    const std::string table = dom.substr(dom.find("id=\"result-table\""));
    const std::string body = table.substr(0, table.find("</table>"));
    EXPECT_EQ(count_of(body, "<tr class=\"check"), 3);
    EXPECT_EQ(count_of(dom, "<script"), 0) << "the hostile title stayed text";
    EXPECT_THAT(dom, HasSubstr("&lt;script&gt;alert(1)&lt;/script&gt; Check Tool</h1>"));
    EXPECT_EQ(count_of(body, "<svg"), 2) << "one chart per server";
}
