// The twelve channel functions, called from a program linked with the
// channel library, against the dry-run client.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include <string.h>

#include <functional>

#include "channel.h"
#include "harness.h"

static const char OUTBOX[] = "\x91\x97\x90\x4D\x94\xA0";
enum { SENTINEL = 0x5A, BUF_SIZE = 64 };

struct ExecuteRow {
	const char *name;
	std::function<unsigned()> call;
	unsigned result;
	std::vector<std::string> events;
};

TEST(Channel, ExecuteCommands)
{
	const std::string text241(241, 'a'), text242(242, 'a');
	const ExecuteRow rows[] = {
		{"mark mail", [] { return TwnMarkMail("x", 65535, 0); }, 0,
		 {"execute [MarkMail(x,65535,0)]\\x00"}},
		{"delete mail null", [] { return TwnDeleteMail(nullptr); }, 0,
		 {"execute [DeleteMail()]\\x00"}},
		{"move mail null folder", [] { return TwnMoveMail("a", nullptr); }, 0,
		 {"execute [MoveMail(a,)]\\x00"}},
		{"insert mail", [] { return TwnInsertMail("e1", OUTBOX, 49); }, 0,
		 {"execute [InsertMail(e1,\\x91\\x97\\x90M\\x94\\xA0,49)]\\x00"}},
		{"set online -1", [] { return TwnSetOnline(-1); }, 0,
		 {"execute [SetOnline(-1)]\\x00"}},
		{"retreive", [] { return TwnRetreive(2); }, 0,
		 {"execute [Retreive(2)]\\x00"}},
		{"reload profile", [] { return TwnReloadProfile(); }, 0,
		 {"execute [ReloadProfile]\\x00"}},
		{"change password null", [] { return TwnChangePassword(nullptr, 5); },
		 0, {"execute [ChangePassword((null),5)]\\x00"}},
		{"commas and parens pass", [] { return TwnMoveMail("a,b)", "(c]"); },
		 0, {"execute [MoveMail(a,b),(c])]\\x00"}},
		{"255 characters are sent",
		 [&] { return TwnDeleteMail(text241.c_str()); }, 0,
		 {"execute [DeleteMail(" + text241 + ")]\\x00"}},
		{"256 characters are not",
		 [&] { return TwnDeleteMail(text242.c_str()); },
		 DMLERR_INVALIDPARAMETER, {}},
	};
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	for (const ExecuteRow &r : rows) {
		EXPECT_EQ(r.result, r.call()) << r.name;
		EXPECT_EQ(r.events, client_events(&client)) << r.name;
	}
	client_stop(&client);
}

struct RequestRow {
	const char *name;
	Args options;
	unsigned long size;
	std::string expected; // the buffer's first bytes after the call
	const char *event;
};

typedef unsigned (*RequestFn)(char *, unsigned long);

// The bytes after `expected` must keep the sentinel: nothing added, not
// even a terminator.
static void check_request(RequestFn fn, const char *item, const RequestRow &r)
{
	Client client;
	char buf[BUF_SIZE];

	ASSERT_TRUE(client_start(&client, r.options)) << r.name;
	memset(buf, SENTINEL, sizeof buf);
	EXPECT_EQ(0u, fn(buf, r.size)) << item << ": " << r.name;
	EXPECT_EQ(r.expected, std::string(buf, r.expected.size()))
		<< item << ": " << r.name;
	for (size_t i = r.expected.size(); i < sizeof buf; i++)
		ASSERT_EQ(SENTINEL, (unsigned char)buf[i])
			<< item << ": " << r.name << ": byte " << i << " touched";
	std::string event = std::string("request ") + item + " -> " + r.event;
	EXPECT_EQ(std::vector<std::string>{event}, client_events(&client))
		<< item << ": " << r.name;
	client_stop(&client);
}

TEST(Channel, Requests)
{
	const struct {
		RequestFn fn;
		const char *item;
	} items[] = {
		{TwnVersion, "Version"},
		{TwnMailBox, "MailBox"},
		{TwnNewEntryName, "NewEntryName"},
	};
	for (const auto &it : items) {
		std::string answer = std::string(it.item) + "=abcdefghij";
		std::string mode = std::string(it.item) + "=";
		const RequestRow rows[] = {
			{"whole answer", {"--answer", answer}, 20,
			 std::string("abcdefghij\0", 11), "abcdefghij"},
			{"cut to size, no terminator added", {"--answer", answer}, 4,
			 "abcd", "abcdefghij"},
			{"exact fit with terminator", {"--answer", answer}, 11,
			 std::string("abcdefghij\0", 11), "abcdefghij"},
			{"answer without terminator", {"--answer", answer, "--mode",
			 mode + "noterm"}, 20, "abcdefghij",
			 "abcdefghij (no terminator)"},
			{"empty answer", {"--answer", mode}, 20, std::string("\0", 1),
			 ""},
			{"refused: untouched", {"--mode", mode + "refuse"}, 20, "",
			 "refused"},
		};
		for (const RequestRow &r : rows)
			check_request(it.fn, it.item, r);
	}
}

TEST(Channel, UnansweredRequestWaitsAboutOneSecond)
{
	Client client;
	char buf[BUF_SIZE];

	ASSERT_TRUE(client_start(&client, {"--mode", "Version=hang"}));
	memset(buf, SENTINEL, sizeof buf);
	DWORD start = GetTickCount();
	EXPECT_EQ(0u, TwnVersion(buf, sizeof buf));
	DWORD elapsed = GetTickCount() - start;
	// Loose bounds, for a loaded machine: the point is that it gives up
	// after about one second instead of waiting for the client's answer,
	// which comes only after five.
	EXPECT_GE(elapsed, 900u);
	EXPECT_LT(elapsed, 3000u);
	for (char c : buf)
		ASSERT_EQ(SENTINEL, (unsigned char)c);
	client_stop(&client);
}

TEST(Channel, Online)
{
	const struct {
		const char *name;
		Args options;
		int flag;
	} rows[] = {
		{"answer 1", {"--answer", "Online=1"}, 1},
		{"answer 1 and more", {"--answer", "Online=1 (dial-up)"}, 1},
		{"answer 0", {"--answer", "Online=0"}, 0},
		{"answer empty", {"--answer", "Online="}, 0},
		{"refused", {"--mode", "Online=refuse"}, 0},
		{"no answer", {"--mode", "Online=hang"}, 0},
	};
	for (const auto &r : rows) {
		Client client;
		ASSERT_TRUE(client_start(&client, r.options)) << r.name;
		int flag = 7;
		EXPECT_EQ(0u, TwnOnline(flag)) << r.name;
		EXPECT_EQ(r.flag, flag) << r.name;
		client_stop(&client);
	}
}

TEST(Channel, ClientNotRunning)
{
	char buf[BUF_SIZE];
	int flag = 7;

	memset(buf, SENTINEL, sizeof buf);
	const std::function<unsigned()> calls[] = {
		[] { return TwnChangePassword("p", 1); },
		[] { return TwnDeleteMail("a"); },
		[] { return TwnInsertMail("e", OUTBOX, 49); },
		[&] { return TwnMailBox(buf, sizeof buf); },
		[] { return TwnMarkMail("a", 1, 2); },
		[] { return TwnMoveMail("a", "b"); },
		[&] { return TwnNewEntryName(buf, sizeof buf); },
		[&] { return TwnOnline(flag); },
		[] { return TwnReloadProfile(); },
		[] { return TwnRetreive(0); },
		[] { return TwnSetOnline(1); },
		[&] { return TwnVersion(buf, sizeof buf); },
	};
	int i = 0;
	for (const auto &call : calls)
		EXPECT_NE(0u, call()) << "function " << ++i;
	for (char c : buf)
		ASSERT_EQ(SENTINEL, (unsigned char)c);
	EXPECT_EQ(0, flag);
}

TEST(Channel, ConversationRefused)
{
	Client client;
	char buf[BUF_SIZE];

	ASSERT_TRUE(client_start(&client, {"--refuse-connect"}));
	memset(buf, SENTINEL, sizeof buf);
	EXPECT_EQ((unsigned)DMLERR_NO_CONV_ESTABLISHED, TwnRetreive(1));
	EXPECT_EQ((unsigned)DMLERR_NO_CONV_ESTABLISHED,
	          TwnVersion(buf, sizeof buf));
	for (char c : buf)
		ASSERT_EQ(SENTINEL, (unsigned char)c);
	client_stop(&client);
}
