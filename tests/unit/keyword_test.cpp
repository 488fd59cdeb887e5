#include <gtest/gtest.h>

#include "keyword.h"

TEST(KeywordMatches, Table)
{
	const struct {
		const char *arg;
		const char *keyword;
		bool matches;
	} rows[] = {
		{"view", "view", true},
		{"VIEW", "view", true},
		{"vIeW", "view", true},
		{"view", "VIEW", true},
		// Only the keyword's own length is compared.
		{"transfer", "tra", true},
		{"Dustbox", "dust", true},
		{"del ete", "del", true},
		{"view\x81\x40", "view", true},
		// An argument that is only the beginning of a keyword.
		{"vie", "view", false},
		{"", "view", false},
		{"v", "view", false},
		{"xview", "view", false},
		{"hidf", "hide", false},
		// Only A..Z fold: neighbours six apart in ASCII, bytes that differ
		// by 0x20 outside the letters, and letters above 0x7F stay apart.
		{"@", "`", false},
		{"[", "{", false},
		{"a_b", "a\x7F" "b", false},
		{"\xC4", "\xE4", false},
		{"\xE4" "x", "\xE4" "X", true},
		// A double-byte character where the keyword has a letter.
		{"\x82\x76iew", "view", false},
	};
	for (const auto &r : rows)
		EXPECT_EQ(r.matches, keyword_matches(r.arg, r.keyword))
			<< '"' << r.arg << "\" against \"" << r.keyword << '"';
}

struct Row {
	const char *keyword;
	int value;
};

// Table order decides: the first row that matches wins, even where a
// later row would match more of the argument.
TEST(FindKeyword, FirstMatchInTableOrder)
{
	static const Row table[] = {{"do", 1}, {"down", 2}, {"d", 3}, {"up", 4}};
	const struct {
		const char *arg;
		int value; // 0: no row
	} rows[] = {
		{"down", 1}, {"DOWN", 1}, {"dx", 3}, {"Up", 4}, {"u", 0}, {"", 0},
	};
	for (const auto &r : rows) {
		const Row *found = find_keyword(r.arg, table);
		EXPECT_EQ(r.value, found ? found->value : 0) << '"' << r.arg << '"';
	}
}
