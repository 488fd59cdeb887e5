#include <gtest/gtest.h>

#include "TwnDry.h"
#include "harness.h"

static const char USAGE[] =
	"Usage TwnCur [up|do(wn)|top|bot(tom)|number]\n"
	"  up      : Move Up\n"
	"  do(wn)  : Move Down\n"
	"  top     : Move Top\n"
	"  bot(tom): Move Bottom\n"
	"  number  : Move number from Top(Top is 0)\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n";

static const std::string CLEAR = "mail list: deselect all (LB_SETSEL 0, -1)";
static const std::string NONE = "mail list: selected none";
static const std::string SATURATED =
	"mail list: select 2147483647 (LB_SETSEL 1, 2147483647)";

static std::string down(const char *key)
{
	return std::string("mail list: key down ") + key;
}

static std::string up(const char *key)
{
	return std::string("mail list: key up ") + key;
}

static std::string select(const char *n)
{
	return std::string("mail list: select ") + n + " (LB_SETSEL 1, " + n +
	       ")";
}

static std::string selected(const char *n)
{
	return std::string("mail list: selected ") + n;
}

struct Row {
	Args args;
	DWORD code;
	std::vector<std::string> events;
	std::vector<int> selected; // the mail list's selection afterwards
};

static std::vector<int> selection(HWND list)
{
	std::vector<int> items;
	int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);

	for (int i = 0; i < count; i++)
		if (SendMessageA(list, LB_GETSEL, i, 0) > 0)
			items.push_back(i);
	return items;
}

// The rows run in order on one list, each starting where the previous
// one left it; at the start mail 2 is selected.
TEST(TwnCur, MailList)
{
	const Row rows[] = {
		{{}, 1, {}, {2}},
		{{"up"}, 0, {down("VK_UP"), selected("1"), up("VK_UP")}, {1}},
		{{"UP"}, 0, {down("VK_UP"), selected("0"), up("VK_UP")}, {0}},
		{{"upper"}, 0, {down("VK_UP"), up("VK_UP")}, {0}},
		{{"do"}, 0, {down("VK_DOWN"), selected("1"), up("VK_DOWN")}, {1}},
		{{"down"}, 0, {down("VK_DOWN"), selected("2"), up("VK_DOWN")}, {2}},
		{{"Dog"}, 0, {down("VK_DOWN"), selected("3"), up("VK_DOWN")}, {3}},
		{{"bot"}, 0, {down("VK_END"), selected("11"), up("VK_END")}, {11}},
		{{"Topmost"}, 0, {down("VK_HOME"), selected("0"), up("VK_HOME")}, {0}},
		{{"BOTTOM"}, 0, {down("VK_END"), selected("11"), up("VK_END")}, {11}},
		{{"top"}, 0, {down("VK_HOME"), selected("0"), up("VK_HOME")}, {0}},
		// Neither a keyword nor digits only.
		{{"u"}, 1, {}, {0}},
		{{"d"}, 1, {}, {0}},
		{{"to"}, 1, {}, {0}},
		{{"bo"}, 1, {}, {0}},
		{{"+1"}, 1, {}, {0}},
		{{"-1"}, 1, {}, {0}},
		{{"1a"}, 1, {}, {0}},
		{{" 1"}, 1, {}, {0}},
		{{"1 "}, 1, {}, {0}},
		// Only the first argument counts.
		{{"do", "7"}, 0, {down("VK_DOWN"), selected("1"), up("VK_DOWN")}, {1}},
		{{"5", "up"}, 0, {CLEAR, NONE, select("5"), selected("5")}, {5}},
		{{"007"}, 0, {CLEAR, NONE, select("7"), selected("7")}, {7}},
		{{""}, 0, {CLEAR, NONE, select("0"), selected("0")}, {0}},
		{{"0"}, 0, {CLEAR, NONE, select("0"), selected("0")}, {0}},
		{{"11"}, 0, {CLEAR, NONE, select("11"), selected("11")}, {11}},
		// Past the last mail: the selection is cleared all the same.
		{{"12"}, 0, {CLEAR, NONE, select("12")}, {}},
		{{"3"}, 0, {CLEAR, select("3"), selected("3")}, {3}},
		{{"2147483647"}, 0, {CLEAR, NONE, SATURATED}, {}},
		// Too large for an int: read as past the end. Wrapped, these
		// would select every mail (-1) or mail 7.
		{{"1"}, 0, {CLEAR, select("1"), selected("1")}, {1}},
		{{"4294967295"}, 0, {CLEAR, NONE, SATURATED}, {}},
		{{"4"}, 0, {CLEAR, select("4"), selected("4")}, {4}},
		{{"4294967303"}, 0, {CLEAR, NONE, SATURATED}, {}},
		{{"99999999999999999999999"}, 0, {CLEAR, SATURATED}, {}},
	};
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	HWND list = dry_window(FindWindowA("TiWren", NULL), DRY_MAIL_LIST_ID);
	ASSERT_TRUE(list != NULL);
	for (const Row &r : rows) {
		expect_run("TwnCur", USAGE, &client, r.args, r.code, r.events);
		EXPECT_EQ(r.selected, selection(list))
			<< command_line("TwnCur", r.args);
	}
}

// A level missing on the way down to the mail list: nothing is sent and
// the argument is not even looked at.
TEST(TwnCur, MailListMissing)
{
	const Row rows[] = {
		{{}, 1, {}, {}},
		{{"up"}, 0, {}, {}},
		{{"7"}, 0, {}, {}},
		{{"nothing"}, 0, {}, {}},
		{{"-1"}, 0, {}, {}},
	};
	for (const char *levels : {"0", "1", "2"}) {
		SCOPED_TRACE(std::string("levels ") + levels);
		Client client;
		ASSERT_TRUE(client_start(&client, {"--list-levels", levels}));
		for (const Row &r : rows)
			expect_run("TwnCur", USAGE, &client, r.args, r.code, r.events);
	}
}

TEST(TwnCur, ClientNotRunning)
{
	const Row rows[] = {
		{{}, 1, {}, {}},
		{{"up"}, 2, {}, {}},
		{{"7"}, 2, {}, {}},
		{{"nothing"}, 2, {}, {}},
		{{""}, 2, {}, {}},
	};
	for (const Row &r : rows)
		expect_run("TwnCur", USAGE, nullptr, r.args, r.code, r.events);
}
