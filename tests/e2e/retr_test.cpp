#include <gtest/gtest.h>

#include "harness.h"

static const char USAGE[] =
	"Usage TwnRetr [0|1|2]\n"
	"  0 : Retreive Only\n"
	"  1 : Send Only\n"
	"  2 : Retreive & Send\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n"
	"    3 : Retreive Error\n";

static const char *const R0 = "execute [Retreive(0)]\\x00";
static const char *const R1 = "execute [Retreive(1)]\\x00";
static const char *const R2 = "execute [Retreive(2)]\\x00";

struct Row {
	Args args;
	DWORD code;
	std::vector<std::string> events;
};

static void check_rows(Client *client, const std::vector<Row> &rows)
{
	for (const Row &r : rows) {
		std::string name = r.args.empty() ? "(none)" : "\"" + r.args[0] + "\"";
		Result res = run("TwnRetr", r.args, r.code);
		EXPECT_EQ(r.code, res.code) << name;
		EXPECT_EQ("", res.out) << name;
		EXPECT_EQ(r.code == 1 ? console_text(USAGE) : "", res.err) << name;
		if (client) {
			EXPECT_EQ(r.events, client_events(client)) << name;
		}
	}
}

TEST(TwnRetr, ClientRunning)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	check_rows(&client, {
		{{}, 1, {}},
		{{"0"}, 0, {R0}},
		{{"1"}, 0, {R1}},
		{{"2"}, 0, {R2}},
		// Outside 0..2: nothing is sent.
		{{"3"}, 0, {}},
		{{"10"}, 0, {}},
		{{"-1"}, 0, {}},
		{{"2147483648"}, 0, {}},
		{{"4294967298"}, 0, {}},
		{{"-4294967294"}, 0, {}},
		// Read as the usual decimal reading does.
		{{"abc"}, 0, {R0}},
		{{""}, 0, {R0}},
		{{"+"}, 0, {R0}},
		{{"-"}, 0, {R0}},
		{{"-0"}, 0, {R0}},
		{{" 2"}, 0, {R2}},
		{{"+2"}, 0, {R2}},
		{{"2nd"}, 0, {R2}},
		{{"002"}, 0, {R2}},
		// Only the first argument counts.
		{{"1", "2"}, 0, {R1}},
		{{"7", "1"}, 0, {}},
	});
	client_stop(&client);
}

TEST(TwnRetr, ClientNotRunning)
{
	check_rows(nullptr, {
		{{}, 1, {}},
		{{"0"}, 2, {}},
		{{"2"}, 2, {}},
		{{"5"}, 2, {}},
		{{"abc"}, 2, {}},
		{{""}, 2, {}},
	});
}

TEST(TwnRetr, ConversationRefused)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {"--refuse-connect"}));
	check_rows(&client, {
		{{"1"}, 3, {"conversation refused"}},
		{{"4"}, 0, {}},
	});
	client_stop(&client);
}

TEST(TwnRetr, WindowWithoutDdeService)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {"--no-dde"}));
	check_rows(&client, {
		{{"0"}, 3, {}},
		{{}, 1, {}},
	});
	client_stop(&client);
}
