// The summary page: its structure read back with a strict parser, its escaping of hostile texts, and
// the pieces it is made of.
#include "report/summary_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "report/html_text.h"
#include "report/redactor.h"
#include "report/summary_redaction.h"
#include "tests/report/html_tree_support.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

const std::string kHostileTitle = "<script>alert(1)</script>";
const std::string kHostileFile = "a&\"<>.log";

SummaryCheck check(const std::string& name, std::vector<std::string> cells, int code) {
    SummaryCheck c;
    c.name = name;
    c.cells = std::move(cells);
    c.code = code;
    c.failed = code != 0;
    return c;
}

SummaryPage sample_page() {
    SummaryPage page;
    page.product_title = "Quenmora";
    page.tool_version = "1.0.0.1";
    page.run_started = "2026-12-09 10:00:00";
    page.run_ended = "2026-12-09 10:00:05";
    page.run_completed = true;
    page.host_name = "desk-7";
    page.os_name = "Debian GNU/Linux 12";
    page.disks = {{"/", 1, 2}};
    page.folder_rights = {"folder create test (/var/tmp/__test_for_create_folder__) : success",
                          "DeleteFile(/var/tmp/__test_for_create_folder__) failed. error code : 13"};
    SummaryCheck account = check("계정 권한", {"계정", "10:00:00", "관리자 계정", "", "0ms", "Ok", ""}, 0);
    account.message = "성공";
    SummaryCheck web = check("웹 서버", {"웹", "10:00:01", "127****1", "8080", "3ms", "Ok", ""}, 0);
    web.elapsed_color = 0xFF007F00;
    web.tries = {{2, true, 0xFF007F00}, {4, true, 0xFF007F00}};
    web.figures = TryFigures{2, 3, 4};
    SummaryCheck down = check("API 서버", {"API", "10:00:02", "127****1", "8081", "0ms", "Fail", "503"}, 503);
    down.row_color = 0xFFB22222;
    down.message = "HTTP status";
    down.meaning = "Service unavailable: the server is down or overloaded.";
    down.detail = "upstream said no";
    down.tries = {{1, false, 0xFFB22222}};
    down.figures = TryFigures{1, 1, 1};
    page.checks = {account, web, down};
    page.files.packed = {{"", "check_result.txt", 1236, 0},
                         {"", "Quenmora_log.zip", 574, 0},
                         {"Quenmora_log.zip", "agent.log", 47, 0}};
    return page;
}

struct ParsedPage {
    HtmlParse parse;
    const HtmlNode& root() const { return *parse.root; }
};

ParsedPage parse(const SummaryPage& page) {
    ParsedPage parsed{parse_html(summary_page_html(page))};
    EXPECT_EQ(parsed.parse.error, "");
    return parsed;
}

std::vector<std::string> texts_of(const std::vector<const HtmlNode*>& nodes) {
    std::vector<std::string> out;
    for (const HtmlNode* n : nodes) out.push_back(n->inner_text());
    return out;
}

// The rows of a table's body.
std::vector<const HtmlNode*> body_rows(const HtmlNode* table) {
    if (!table) return {};
    const auto bodies = table->find_all("tbody");
    return bodies.empty() ? std::vector<const HtmlNode*>{} : bodies[0]->find_all("tr");
}

}  // namespace

TEST(SummaryPage, StructureFailuresFirstThenOneRowPerCheckColouredAsTheWindow) {
    const ParsedPage page = parse(sample_page());
    ASSERT_TRUE(page.root().find_id("failures"));
    std::vector<std::string> sections;
    for (const HtmlNode* s : page.root().find_all("section")) sections.push_back(s->attributes.at("id"));
    EXPECT_THAT(sections, ElementsAre("failures", "results", "machine", "folder-rights", "files-packed",
                                      "files-not-packed"))
        << "no connection facts were given, so that section is left out";

    const auto failures = page.root().find_id("failures")->find_all("div");
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_THAT(failures[0]->inner_text(), HasSubstr("API 서버 · 127****1:8081"));
    EXPECT_THAT(failures[0]->inner_text(), HasSubstr("503 · HTTP status"));
    EXPECT_THAT(failures[0]->inner_text(), HasSubstr("Usually means: Service unavailable"));
    EXPECT_THAT(failures[0]->inner_text(), HasSubstr("upstream said no"));

    const auto rows = body_rows(page.root().find_id("result-table"));
    ASSERT_EQ(rows.size(), 3u);
    const auto cells = rows[2]->find_all("td");
    ASSERT_EQ(cells.size(), 10u) << "seven log cells, the message, the chart and the figures";
    EXPECT_THAT(texts_of({cells.begin(), cells.begin() + 7}),
                ElementsAre("API", "10:00:02", "127****1", "8081", "0ms", "Fail", "503"));
    EXPECT_TRUE(rows[2]->has_class("failed"));
    EXPECT_EQ(rows[2]->attributes.at("style"), "color:#b22222");
    EXPECT_EQ(rows[1]->find_all("td")[4]->attributes.at("style"), "color:#007f00");
    EXPECT_EQ(rows[1]->attributes.count("style"), 0u) << "a passed row keeps the default colour";
    EXPECT_EQ(rows[1]->find_all("td")[9]->inner_text(), "2 / 3 / 4 ms");
    EXPECT_EQ(rows[1]->find_all("rect").size(), 2u);
    EXPECT_TRUE(rows[0]->find_all("svg").empty()) << "the account check makes no tries";

    const auto rights = page.root().find_id("folder-rights")->find_all("span");
    ASSERT_EQ(rights.size(), 2u);
    EXPECT_TRUE(rights[0]->has_class("ok-text"));
    EXPECT_TRUE(rights[1]->has_class("fail-text"));
}

TEST(SummaryPage, VerdictAndEmptySections) {
    SummaryPage all_passed = sample_page();
    all_passed.checks.pop_back();
    ParsedPage page = parse(all_passed);
    EXPECT_EQ(page.root().find_all("header")[0]->find_all("span")[0]->inner_text(), "All 2 checks passed");
    EXPECT_EQ(page.root().find_id("failures")->find_all("p")[0]->inner_text(), "No check failed.");
    EXPECT_THAT(page.root().find_id("files-not-packed")->inner_text(), HasSubstr("Every file was packed."));

    SummaryPage stopped = sample_page();
    stopped.run_completed = false;
    page = parse(stopped);
    EXPECT_EQ(page.root().find_all("header")[0]->find_all("span")[0]->inner_text(),
              "The diagnosis was stopped before its end");
    page = parse(sample_page());
    EXPECT_EQ(page.root().find_all("header")[0]->find_all("span")[0]->inner_text(), "1 of 3 checks failed");

    SummaryPage no_run;
    page = parse(no_run);
    EXPECT_EQ(page.root().find_all("header")[0]->find_all("span")[0]->inner_text(), "No check was run");
    EXPECT_TRUE(body_rows(page.root().find_id("result-table")).empty());
    EXPECT_THAT(page.root().find_id("machine")->inner_text(), HasSubstr("Run startedunknown"));
    EXPECT_THAT(page.root().find_id("machine")->inner_text(), HasSubstr("Tool ran elevatedunknown"));
    no_run.elevated = false;
    EXPECT_THAT(parse(no_run).root().find_id("machine")->inner_text(), HasSubstr("Tool ran elevatedno"));
    EXPECT_THAT(page.root().find_id("folder-rights")->inner_text(), HasSubstr("Not tested."));
}

TEST(SummaryPage, HostileTextsFromOutsideStayText) {
    SummaryPage hostile = sample_page();
    hostile.product_title = kHostileTitle;
    hostile.host_name = "\"><img src=x onerror=alert(1)>";
    hostile.os_name = "Linux\x1b[31m red\x01";  // command output with terminal codes
    hostile.checks[2].name = kHostileTitle;
    hostile.checks[2].cells[2] = "<b>host</b>";
    hostile.checks[2].detail = "</div></section><script>x()</script>";
    hostile.files.packed.push_back({"Quenmora_log.zip", kHostileFile, 1, 0});
    hostile.files.skipped = {{"/logs/" + kHostileFile, "could not be packed: <denied> & \"gone\""}};
    const std::string html = summary_page_html(hostile);
    const ParsedPage page = parse(hostile);
    ASSERT_EQ(page.parse.error, "");

    EXPECT_TRUE(page.root().find_all("script").empty());
    EXPECT_TRUE(page.root().find_all("img").empty());
    EXPECT_TRUE(page.root().find_all("b").size() == 1u) << "only the page's own bold code, not the host's";
    EXPECT_EQ(page.root().find_all("title")[0]->inner_text(), kHostileTitle + " Check Tool – summary");
    EXPECT_EQ(page.root().find_all("h1")[0]->inner_text(), kHostileTitle + " Check Tool");
    EXPECT_THAT(page.root().find_all("header")[0]->inner_text(), HasSubstr(hostile.host_name));
    EXPECT_THAT(page.root().find_id("machine")->inner_text(),
                HasSubstr("Linux\xEF\xBF\xBD[31m red\xEF\xBF\xBD"));
    EXPECT_THAT(page.root().find_id("failures")->inner_text(), HasSubstr(hostile.checks[2].detail));
    EXPECT_EQ(body_rows(page.root().find_id("result-table"))[2]->find_all("td")[2]->inner_text(),
              "<b>host</b>");

    const auto packed = body_rows(page.root().find_id("packed-table"));
    EXPECT_EQ(packed.back()->find_all("td")[0]->inner_text(), kHostileFile);
    const auto skipped = body_rows(page.root().find_id("skipped-table"));
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_THAT(texts_of(skipped[0]->find_all("td")),
                ElementsAre("/logs/" + kHostileFile, "could not be packed: <denied> & \"gone\""));
    EXPECT_THAT(html, Not(HasSubstr(kHostileTitle)));
}

TEST(SummaryPage, SelfContainedNothingFetched) {
    SummaryPage full = sample_page();
    full.checks[1].tls = SummaryTls{"CN=web", "CN=Lab CA", "2026-01-01", "2027-01-01", "AB:CD", true};
    const std::string html = summary_page_html(full);
    EXPECT_THAT(html, HasSubstr("<meta charset=\"utf-8\" />"));
    for (const char* fetching : {"src=", "href=", "<link", "@import", "url(", "<script", "<iframe"})
        EXPECT_THAT(html, Not(HasSubstr(fetching))) << fetching;
    // The only address is the SVG namespace, which names and never fetches.
    std::string rest = html;
    for (size_t at; (at = rest.find("xmlns=\"http://www.w3.org/2000/svg\"")) != std::string::npos;)
        rest.erase(at, 34);
    EXPECT_THAT(rest, Not(HasSubstr("http://")));
    EXPECT_THAT(rest, Not(HasSubstr("https://")));
}

// A redacted bundle's page is redacted in its texts, not in its markup: a login that is also a tag
// or a word of the style sheet leaves the page whole, and a full name is found before escaping.
TEST(SummaryPage, RedactionReachesTheTextsAndNeverTheMarkup) {
    const std::string plain = summary_page_html(sample_page());
    const auto style_of = [](const std::string& page) { return page.substr(0, page.find("</style>")); };
    for (const char* login : {"root", "admin", "user", "td", "tr", "table", "main", "section", "html"}) {
        SummaryPage page = sample_page();
        page.host_name = std::string("desk-7 of ") + login;
        page.checks[2].detail = "O'Brien asked as " + std::string(login);
        page.files.unredacted = {{std::string("Log/") + login + ".dmp", "binary"}};
        Redactor redactor(UserIdentity{"desk-7", login, "O'Brien", "/home/nobody"});
        redact_summary_page(page, redactor);
        const std::string html = summary_page_html(page);
        EXPECT_EQ(style_of(html), style_of(plain)) << login;
        const ParsedPage parsed{parse_html(html)};
        EXPECT_EQ(parsed.parse.error, "") << login;
        const auto rows = body_rows(parsed.root().find_id("unredacted-table"));
        ASSERT_EQ(rows.size(), 1u) << login;
        EXPECT_THAT(texts_of(rows[0]->find_all("td")), ElementsAre("Log/user-1.dmp", "binary"));
        EXPECT_THAT(html, HasSubstr("name-1 asked as user-1")) << login;
        EXPECT_THAT(html, HasSubstr("host-1 of user-1")) << login;
        EXPECT_THAT(html, HasSubstr("version 1.0.0.1")) << "the tool's version is its own fact";
    }
}

TEST(SummaryPage, NestedArchivesListTheirFilesUnderThemAndOrphansLast) {
    SummaryPage page = sample_page();
    page.files.packed = {{"A_log.zip", "a1.log", 1, 0},
                         {"", "check_result.txt", 1, 0},
                         {"", "A_log.zip", 1, 0},
                         {"B_log.zip", "b1.log", 1, 0},
                         {"A_log.zip", "a2.log", 1, 0}};
    std::vector<std::string> names;
    const ParsedPage parsed = parse(page);
    for (const HtmlNode* row : body_rows(parsed.root().find_id("packed-table")))
        names.push_back(row->find_all("td")[0]->inner_text());
    EXPECT_THAT(names, ElementsAre("check_result.txt", "A_log.zip", "a1.log", "a2.log", "b1.log"));
}

TEST(SummaryPage, AFolderOfManyFilesFoldsIntoOneRowThatOpensToThem) {
    SummaryPage page = sample_page();
    page.files.packed = {{"", "A_log.zip", 1, 0}, {"A_log.zip", "top.log", 1, 0}};
    for (int i = 0; i < 30; ++i) page.files.packed.push_back({"A_log.zip", "big/" + std::to_string(i) + ".log", 2, 0});
    page.files.packed.push_back({"A_log.zip", "small/one.log", 1, 0});
    const ParsedPage parsed = parse(page);
    const auto folded = parsed.root().find_id("packed-table")->find_all("details");
    ASSERT_EQ(folded.size(), 1u);
    EXPECT_EQ(folded[0]->find_all("summary")[0]->inner_text(), "big/ · 30 files, 60 bytes");
    const auto inside = folded[0]->find_all("tr");
    ASSERT_EQ(inside.size(), 30u);
    EXPECT_EQ(inside[29]->find_all("td")[0]->inner_text(), "big/29.log");
    EXPECT_THAT(parsed.root().find_id("packed-table")->inner_text(), HasSubstr("small/one.log"));
}

TEST(SummaryPage, ConnectionFactsShownAndSuspiciousCertificatesFlagged) {
    SummaryPage page = sample_page();
    SummaryCheck api = page.checks[2];
    page.checks[1].tls = SummaryTls{"CN=web", "CN=Product CA", "2026-01-01", "2027-01-01", "AA", true};
    page.checks[1].proxy = "";
    api.tls = SummaryTls{"CN=api", "CN=Product CA", "2026-01-01", "2027-01-01", "BB", true};
    page.checks.push_back(api);
    page.checks[2].tls =
        SummaryTls{"CN=api", "CN=Inspecting Box <Corp>", "2026-01-01", "2027-01-01", "CC", false};
    page.checks[2].proxy = "http://proxy.corp:3128";

    const auto flags = connection_flags(page.checks);
    ASSERT_EQ(flags.size(), 2u);
    EXPECT_EQ(flags[0].check, 2u);
    EXPECT_THAT(flags[0].reason, HasSubstr("does not verify"));
    EXPECT_EQ(flags[1].check, 2u);
    EXPECT_THAT(flags[1].reason, HasSubstr("TLS-inspecting proxy"));

    const ParsedPage parsed = parse(page);
    const HtmlNode* section = parsed.root().find_id("connection-facts");
    ASSERT_TRUE(section);
    const auto rows = body_rows(section);
    ASSERT_EQ(rows.size(), 3u) << "the account check has no connection facts";
    EXPECT_EQ(rows[0]->find_all("td")[1]->inner_text(), "direct");
    EXPECT_FALSE(rows[0]->has_class("flagged"));
    EXPECT_TRUE(rows[1]->has_class("flagged"));
    EXPECT_EQ(rows[1]->find_all("td")[1]->inner_text(), "http://proxy.corp:3128");
    EXPECT_EQ(rows[1]->find_all("td")[3]->inner_text(), "CN=Inspecting Box <Corp>");
    EXPECT_THAT(rows[1]->find_all("td")[7]->inner_text(), HasSubstr("does not verify"));
    EXPECT_EQ(rows[2]->find_all("td")[6]->inner_text(), "yes");

    // With one issuer everywhere only the verification counts; a tie keeps the first issuer seen.
    page.checks[2].tls->issuer = "CN=Product CA";
    EXPECT_EQ(connection_flags(page.checks).size(), 1u);
    // A trust store that could not be asked is told as such, not as a failure.
    page.checks[2].tls->verified.reset();
    EXPECT_TRUE(connection_flags(page.checks).empty());
    EXPECT_EQ(body_rows(parse(page).root().find_id("connection-facts"))[1]->find_all("td")[6]->inner_text(),
              "unknown");
    page.checks[2].tls->verified = false;
    page.checks[2].tls->verified = true;
    page.checks[3].tls->issuer = "CN=Other";
    page.checks.erase(page.checks.begin() + 2);
    const auto tie = connection_flags(page.checks);
    ASSERT_EQ(tie.size(), 1u);
    EXPECT_EQ(tie[0].check, 2u);
}

TEST(TryChart, OneBarPerTryScaledToTheSlowestFailuresFullHeight) {
    EXPECT_EQ(try_chart_svg({}), "");
    const HtmlParse chart = parse_html(try_chart_svg(
        {{10, true, 0xFF007F00}, {40, true, 0xFF00008B}, {0, false, 0xFFB22222}, {0, true, 0xFF007F00}}));
    ASSERT_EQ(chart.error, "");
    const auto bars = chart.root->find_all("rect");
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_EQ(bars[0]->attributes.at("height"), "6");
    EXPECT_EQ(bars[1]->attributes.at("height"), "24");
    EXPECT_EQ(bars[2]->attributes.at("height"), "24") << "a failure stands out";
    EXPECT_EQ(bars[3]->attributes.at("height"), "2") << "a 0 ms try still shows";
    EXPECT_EQ(bars[1]->attributes.at("fill"), "#00008b");
    EXPECT_EQ(bars[2]->inner_text(), "try 3: 0 ms, Fail");
    EXPECT_NE(bars[0]->attributes.at("x"), bars[1]->attributes.at("x"));

    // Fast tries are drawn against 20 ms, so 1 ms against 2 ms does not look like a doubling of the chart.
    const HtmlParse fast_chart = parse_html(try_chart_svg({{1, true, 0}, {2, true, 0}}));
    const auto fast = fast_chart.root->find_all("rect");
    EXPECT_EQ(fast[1]->attributes.at("height"), "2");
}

TEST(HtmlText, EscapesMarkupAndRepairsWhatIsNotUtf8) {
    EXPECT_EQ(html_escape("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&#39;f");
    EXPECT_EQ(html_escape("세션 서버\tok\r\n"), "세션 서버\tok\r\n");
    EXPECT_EQ(html_escape(std::string("nul\0bell\a", 9)),
              "nul\xEF\xBF\xBD"
              "bell\xEF\xBF\xBD");
    // A cut sequence, an overlong slash, a surrogate and a lone continuation byte.
    EXPECT_EQ(html_escape("\xEC\x84"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(html_escape("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(html_escape("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(html_escape("x\x80"), "x\xEF\xBF\xBD");
    EXPECT_EQ(html_escape("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(html_escape("\xF4\x90\x80\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD")
        << "past U+10FFFF";

    EXPECT_EQ(css_color(0xFFB22222), "#b22222");
    EXPECT_EQ(css_color(0x00FFFFFF), "") << "the keep-colour marker means the default colour";
}
