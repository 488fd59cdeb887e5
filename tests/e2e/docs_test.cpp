// The user reference quotes each tool's usage text and lists its exit
// codes. These checks hold the pages to what the built tools print, so
// that pages and tools cannot drift apart.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "harness.h"

enum { READ_CHUNK = 4096 };

struct Page {
	const char *tool;
	const char *file;
	bool silent; // the tool has no usage text and prints nothing
};

static void PrintTo(const Page &p, std::ostream *os)
{
	*os << p.file;
}

static const Page PAGES[] = {
	{"TwnSend", "TwnSend.md", false},
	{"TwnRetr", "TwnRetr.md", false},
	{"TwnCmd", "TwnCmd.md", false},
	{"TwnCur", "TwnCur.md", false},
	{"TwnTmpl", "TwnTmpl.md", false},
	{"TwnWin", "TwnWin.md", true},
	{"TwnBox", "TwnBox.md", true},
	{"TiQCmd", "TiQCmd.md", false},
};

// The source tree is reached through Wine's Z: drive, which maps /.
static std::string page_path(const char *file)
{
	std::string path = std::string("Z:") + KIT_DOCS_DIR + "/" + file;

	for (char &c : path)
		if (c == '/')
			c = '\\';
	return path;
}

static bool read_page(const char *file, std::string *text)
{
	char buf[READ_CHUNK];
	FILE *f = fopen(page_path(file).c_str(), "rb");
	size_t n;

	if (!f)
		return false;
	text->clear();
	while ((n = fread(buf, 1, sizeof buf, f)) > 0)
		text->append(buf, n);
	fclose(f);
	return true;
}

static std::vector<std::string> lines_of(const std::string &text)
{
	std::vector<std::string> lines;
	size_t start = 0, end;

	while ((end = text.find('\n', start)) != std::string::npos) {
		lines.push_back(text.substr(start, end - start));
		start = end + 1;
	}
	if (start < text.size())
		lines.push_back(text.substr(start));
	return lines;
}

static bool starts_with(const std::string &s, const char *prefix)
{
	return s.compare(0, strlen(prefix), prefix) == 0;
}

// The lines under `heading` up to the next heading of its level.
static std::vector<std::string> section(const std::string &page,
                                        const char *heading)
{
	std::vector<std::string> lines = lines_of(page), out;
	size_t i = 0;

	while (i < lines.size() && lines[i] != heading)
		i++;
	for (i++; i < lines.size() && !starts_with(lines[i], "## "); i++)
		out.push_back(lines[i]);
	return out;
}

// The first fenced code block among `lines`, each line with its line
// break, as a tool prints it; false when there is none.
static bool fenced_block(const std::vector<std::string> &lines,
                         std::string *block)
{
	size_t i = 0;

	while (i < lines.size() && !starts_with(lines[i], "```"))
		i++;
	if (i == lines.size())
		return false;
	block->clear();
	for (i++; i < lines.size() && !starts_with(lines[i], "```"); i++)
		*block += lines[i] + "\n";
	return true;
}

static bool all_digits(const std::string &s)
{
	if (s.empty())
		return false;
	for (char c : s)
		if (c < '0' || c > '9')
			return false;
	return true;
}

// Exit codes a usage text lists: the lines "    N : meaning".
static std::set<int> usage_codes(const std::string &usage)
{
	std::set<int> codes;

	for (const std::string &l : lines_of(usage)) {
		size_t colon = l.find(" : ");
		if (starts_with(l, "    ") && colon != std::string::npos &&
		    all_digits(l.substr(4, colon - 4)))
			codes.insert(atoi(l.c_str() + 4));
	}
	return codes;
}

// Exit codes in the page's table: rows "| N | meaning |".
static std::set<int> table_codes(const std::string &page)
{
	std::set<int> codes;

	for (const std::string &l : section(page, "## Exit codes")) {
		size_t bar = l.find('|', 1);
		if (!starts_with(l, "|") || bar == std::string::npos)
			continue;
		std::string cell = l.substr(1, bar - 1);
		cell.erase(0, cell.find_first_not_of(' '));
		cell.erase(cell.find_last_not_of(' ') + 1);
		if (all_digits(cell))
			codes.insert(atoi(cell.c_str()));
	}
	return codes;
}

static std::string codes_text(const std::set<int> &codes)
{
	std::string s;

	for (int c : codes)
		s += (s.empty() ? "" : " ") + std::to_string(c);
	return s;
}

class Docs : public testing::TestWithParam<Page> {};

// The tool is run without arguments, and with one while neither the
// client nor the send editor runs: 1 with its usage text (or silence),
// then 2.
TEST_P(Docs, UsageTextIsWhatTheToolPrints)
{
	const Page &p = GetParam();
	std::string page, block;

	ASSERT_TRUE(read_page(p.file, &page)) << page_path(p.file);
	if (GetFileAttributesA(program_path(p.tool).c_str()) ==
	    INVALID_FILE_ATTRIBUTES)
		GTEST_SKIP() << p.tool << ".exe is not built";
	ASSERT_EQ(NULL, FindWindowA("TiWren", NULL));
	ASSERT_EQ(NULL, FindWindowA("TIQuilEditor", NULL));

	bool has_block = fenced_block(section(page, "## Usage"), &block);
	Result res = run(p.tool, {}, 1);
	EXPECT_EQ(1u, res.code);
	EXPECT_EQ("", res.out);
	if (p.silent) {
		EXPECT_FALSE(has_block) << p.file << " shows a usage text";
		EXPECT_EQ("", res.err);
	} else {
		ASSERT_TRUE(has_block) << p.file << " shows no usage text";
		EXPECT_EQ(console_text(block), res.err);
	}

	std::set<int> table = table_codes(page);
	EXPECT_EQ(1u, table.count(res.code)) << p.file << " lacks " << res.code;
	res = run(p.tool, {"x"}, 2);
	EXPECT_EQ(2u, res.code);
	EXPECT_EQ(1u, table.count(res.code)) << p.file << " lacks " << res.code;
}

// Every page has an exit-code table; where the tool has a usage text,
// the table holds exactly the codes that text lists. Needs no tool.
TEST_P(Docs, ExitCodeTableMatchesUsageText)
{
	const Page &p = GetParam();
	std::string page, block;

	ASSERT_TRUE(read_page(p.file, &page)) << page_path(p.file);
	std::set<int> table = table_codes(page);
	EXPECT_FALSE(table.empty()) << p.file << " has no exit-code table";
	bool has_block = fenced_block(section(page, "## Usage"), &block);
	if (p.silent) {
		EXPECT_FALSE(has_block) << p.file << " shows a usage text";
		return;
	}
	ASSERT_TRUE(has_block) << p.file << " shows no usage text";
	std::set<int> listed = usage_codes(block);
	EXPECT_FALSE(listed.empty()) << p.file << ": usage lists no codes";
	EXPECT_EQ(codes_text(listed), codes_text(table)) << p.file;
}

INSTANTIATE_TEST_SUITE_P(Pages, Docs, testing::ValuesIn(PAGES),
                         [](const testing::TestParamInfo<Page> &info) {
	return std::string(info.param.tool);
});
