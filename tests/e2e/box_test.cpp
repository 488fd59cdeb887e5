#include <gtest/gtest.h>

#include <set>

#include "TwnDry.h"
#include "harness.h"

static std::string shown(const std::string &title)
{
	return "mailbox \"" + escaped(title) + "\": shown";
}

struct Row {
	Args args;
	DWORD code;
	int box; // the control identifier of the window shown, or 0
};

// In order on one client: every mailbox window shown so far stays shown,
// every other window keeps the state it started in.
TEST(TwnBox, MailboxWindows)
{
	const std::string title127(DRY_LONG_TITLE, 127);
	const Row rows[] = {
		{{}, 1, 0},
		{{"inbox"}, 3, 0},
		{{"Inbox"}, 0, 121},
		{{"Outbox"}, 0, 122},
		{{"Inb"}, 3, 0},
		{{"Outboxes"}, 3, 0},
		{{"Outbox "}, 3, 0},
		// Of two with the same title the first in walk order: the main
		// window's children from the top, and within each its children.
		{{"Trash"}, 0, 124},
		{{"Sent"}, 0, 132},
		// Titles differing only in case are different titles.
		{{"SPAM"}, 0, 134},
		// A longer class name that begins with the mailbox class counts.
		{{"Archive"}, 0, 137},
		// A shorter class name, a direct child of the main window, and a
		// child of a mailbox window do not.
		{{"Short class"}, 3, 0},
		{{"Direct child"}, 3, 0},
		{{"Nested"}, 3, 0},
		// Titles are read into 128 bytes: only their first 127 match.
		{{DRY_LONG_TITLE}, 3, 0},
		{{title127 + DRY_LONG_TITLE[127]}, 3, 0},
		{{title127}, 0, 136},
		{{""}, 0, 135},
		{{"Spam", "Sent"}, 0, 123},
		{{"Nowhere"}, 3, 0},
	};
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	HWND main = FindWindowA("TiWren", NULL);
	std::set<int> shown_boxes;
	for (const Row &r : rows) {
		std::vector<std::string> events;
		for (const DryBox &b : DRY_BOXES)
			if (b.id == r.box)
				events.push_back(shown(b.title));
		expect_run("TwnBox", nullptr, &client, r.args, r.code, events);
		if (r.box)
			shown_boxes.insert(r.box);
		for (const DryBox &b : DRY_BOXES) {
			const char *state = shown_boxes.count(b.id) ? "shown"
			                    : b.minimised       ? "minimised"
			                                        : "hidden";
			EXPECT_EQ(state, window_state(dry_window(main, b.id)))
				<< command_line("TwnBox", r.args) << ": box " << b.id;
		}
	}
}

TEST(TwnBox, MainWindowWithoutChildren)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {"--list-levels", "0"}));
	expect_run("TwnBox", nullptr, &client, {"Inbox"}, 3, {});
	expect_run("TwnBox", nullptr, &client, {""}, 3, {});
	expect_run("TwnBox", nullptr, &client, {}, 1, {});
}

TEST(TwnBox, ClientNotRunning)
{
	for (const Args &args : {Args{}, Args{"Inbox"}, Args{""}, Args{"Nowhere"}})
		expect_run("TwnBox", nullptr, nullptr, args, args.empty() ? 1 : 2, {});
}
