// The manual page of railscope-cli: roff escaping and a page that lists every registered command.
#include "cli/ManPage.h"
#include "cli/Commands.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

TEST(ManPage, RoffTextEscapes)
{
    const struct {
        const char* text;
        const char* roff;
    } cases[] = {
        {"plain words", "plain words"},
        {"--raw -o OUT", "\\-\\-raw \\-o OUT"},
        {"C:\\boards", "C:\\eboards"},
        {".hidden line", "\\&.hidden line"},
        {"'quoted' start", "\\&'quoted' start"},
        {"first\n.second\n'third\nit's", "first\n\\&.second\n\\&'third\nit's"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(cli::RoffText(c.text), c.roff) << c.text;
}

TEST(ManPage, ListsEveryCommandAndStartsNoLineWithStrayRequests)
{
    std::ostringstream page;
    cli::WriteManPage(page, "9.8.7.6");
    const std::string text = page.str();
    EXPECT_EQ(text.rfind(".TH RAILSCOPE\\-CLI 1 \"\" \"Railscope 9.8.7.6\"", 0), 0u);
    ASSERT_FALSE(cli::Registry().empty());
    for (const auto& c : cli::Registry()) {
        EXPECT_NE(text.find("\n.SS " + cli::RoffText(c.name) + "\n.nf\n" + cli::RoffText(c.usage)), std::string::npos)
            << c.name;
        EXPECT_NE(text.find("\n.B " + cli::RoffText(c.name) + "\n" + cli::RoffText(c.summary) + "\n"),
                  std::string::npos)
            << c.name;
    }
    for (const char* section : {"\n.SH EXAMPLES\n", "\n.SH EXIT STATUS\n", "\n.SH FILES\n"})
        EXPECT_NE(text.find(section), std::string::npos) << section;
    // Every request line is one the page means to write: the usage texts never start one.
    const std::set<std::string> requests = {".TH", ".nh", ".SH", ".SS", ".TP", ".B",  ".I",
                                            ".RI", ".br", ".PP", ".nf", ".fi", ".RS", ".RE"};
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || (line[0] != '.' && line[0] != '\'')) continue;
        EXPECT_TRUE(requests.count(line.substr(0, line.find(' ')))) << line;
    }
}
