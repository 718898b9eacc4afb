// The review page of diff as a browser renders it: headless Chromium opens
// it through review_probe.html, which writes the rendered state (summary
// figures, marked cells, which rows are visible, whether any script from
// the data ran) into its own document for this test to read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "tool_runner.h"

namespace {

using Json = nlohmann::json;

void copy_file(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream(to, std::ios::binary) << in.rdbuf();
}

// What the probe wrote into <pre id="out">, with the serializer's escapes
// of text undone.
Json rendered_state(const std::string& probe) {
    const std::string command =
        "timeout 120 chromium"
        " --headless --no-sandbox --disable-gpu"
        " --allow-file-access-from-files --virtual-time-budget=5000"
        " --dump-dom 'file://" +
        probe + "' 2>/dev/null";
    std::string dom;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) dom.append(buffer, n);
        ::pclose(pipe);
    }
    const std::string open = "<pre id=\"out\">";
    const std::size_t start = dom.find(open);
    const std::size_t end = dom.find("</pre>", start);
    if (start == std::string::npos || end == std::string::npos) return Json();
    std::string text = dom.substr(start + open.size(), end - start - open.size());
    for (const auto& [entity, c] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                    {"&gt;", ">"},
                                    {"&nbsp;", "\u00a0"},
                                    {"&amp;", "&"}})
        for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, entity.size(), c);
    return Json::parse(text, nullptr, false);
}

TEST(ReviewPage, RendersFiguresMarksAndFilterWithoutRunningData) {
    if (std::system("command -v chromium > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it)";

    const kqtool::ToolResult diff =
        kqtool::run_kqfmt({"diff", kqtool::fixture("review_old.sql"),
                           kqtool::fixture("review_new.sql"), "--format", "html"});
    ASSERT_EQ(diff.status, 0) << diff.err;
    char dir[] = "/tmp/kq_review_XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    std::ofstream(std::string(dir) + "/review.html", std::ios::binary) << diff.out;
    copy_file(kqtool::fixture("review_probe.html"), std::string(dir) + "/probe.html");
    const Json state = rendered_state(std::string(dir) + "/probe.html");
    std::system(("rm -rf '" + std::string(dir) + "'").c_str());
    ASSERT_TRUE(state.is_object()) << "the probe wrote nothing readable";

    const std::string hostile_script = "<script>document.title='pwned';window.pwned=1</script>";
    const std::string hostile_img =
        "\"><img src=x onerror=\"window.pwned=2;document.title='pwned'\">";
    // The filter hides exactly the unchanged row, both through the box and
    // through the address; the plain page shows every row.
    struct View {
        const char* name;
        bool same_rows_shown;
    };
    for (const View& view : {View{"plain", true}, View{"target", false}, View{"clicked", false}}) {
        SCOPED_TRACE(view.name);
        const Json& page = state.at(view.name);
        EXPECT_EQ(page.at("title"), "Configuration review: " + kqtool::fixture("review_new.sql"));
        EXPECT_TRUE(page.at("pwned").is_null());
        EXPECT_EQ(page.at("elements"), 0);
        EXPECT_EQ(page.at("summary"),
                  Json::array({"2 cells changed in 2 rows, 1 row added, 0 rows removed, 1 cell "
                               "shown differently (old 3, new 4 rows)"}));
        EXPECT_EQ(page.at("changed"), Json::array({Json::array({"Off", "On"}),
                                                   Json::array({"third", hostile_script})}));
        // The renamed pick-list entry: same value, shown otherwise, marked
        // apart from value changes, with its definition listed and the
        // marks explained.
        EXPECT_EQ(page.at("display"), Json::array({Json::array({"Running", "On"})}));
        EXPECT_NE(page.at("marks")[0], page.at("marks")[1]);
        EXPECT_EQ(page.at("definitions"),
                  Json::array({"mode us_format Off(0),Running(1) → Off(0),On(1)"}));
        EXPECT_NE(page.at("legend")[0].get<std::string>().find("shown differently"),
                  std::string::npos);
        const Json& rows = page.at("rows");
        ASSERT_EQ(rows.size(), 4u);
        const char* statuses[] = {"same", "changed", "changed", "added"};
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(rows[i].at("status"), statuses[i]) << i;
            EXPECT_EQ(rows[i].at("shown"), i == 0 ? view.same_rows_shown : true) << i;
        }
        EXPECT_EQ(rows[3].at("cells")[1], hostile_img);
        ASSERT_EQ(page.at("findings").size(), 1u);
        EXPECT_NE(page.at("findings")[0].get<std::string>().find("NOTES.mode error [row 3]"),
                  std::string::npos);
    }
}

}  // namespace
