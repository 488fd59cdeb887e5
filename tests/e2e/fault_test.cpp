// Bad input and faults, every tool a row group. Each row gives the exact
// exit code (a crash such as 0xC0000005 can never pass), the exact output
// and every event the client saw.
#include <gtest/gtest.h>

#include "harness.h"

// Longest argument a command line can carry (32767 characters in all,
// the program's path included).
enum { LONG_ARG = 32000 };

struct FaultRow {
	const char *what;
	const char *tool;
	Args args;
	DWORD code;
	std::vector<std::string> events;
	std::string err = ""; // text as the tool writes it, before CR LF
};

static std::string high_bytes()
{
	std::string s;
	for (int c = 0x80; c <= 0xFF; c++)
		s += (char)c;
	return s;
}

static void check_rows(const Args &client_options,
                       const std::vector<FaultRow> &rows)
{
	Client client;
	ASSERT_TRUE(client_start(&client, client_options));
	for (const FaultRow &r : rows) {
		std::string name = std::string(r.tool) + ": " + r.what;
		Result res = run(r.tool, r.args, r.code);
		EXPECT_EQ(r.code, res.code) << name << std::hex << " (0x"
		                            << res.code << ")";
		EXPECT_EQ("", res.out) << name;
		EXPECT_EQ(console_text(r.err), res.err) << name;
		EXPECT_EQ(r.events, client_events(&client)) << name;
	}
}

static const char *const R0 = "execute [Retreive(0)]\\x00";

TEST(Faults, TwnRetrArguments)
{
	check_rows({}, {
		{"empty", "TwnRetr", {""}, 0, {R0}},
		{"long digits", "TwnRetr", {std::string(LONG_ARG, '1')}, 0, {}},
		{"long text", "TwnRetr", {std::string(LONG_ARG, 'a')}, 0, {R0}},
		{"long blanks then 1", "TwnRetr",
		 {std::string(LONG_ARG, ' ') + "1"}, 0,
		 {"execute [Retreive(1)]\\x00"}},
		{"bytes 0x80-0xFF", "TwnRetr", {high_bytes()}, 0, {R0}},
		{"sign then high bytes", "TwnRetr", {"-\xFF" "1"}, 0, {R0}},
	});
}
