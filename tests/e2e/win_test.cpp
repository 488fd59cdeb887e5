#include <gtest/gtest.h>

#include "harness.h"

// Posted, not sent: TwnWin does not wait for the client.
static std::string command(const char *name)
{
	return std::string("main window: WM_SYSCOMMAND ") + name + ", posted";
}

static const char MINIMISED[] = "main window: minimised";
static const char MAXIMISED[] = "main window: maximised";
static const char SHOWN[] = "main window: shown";
static const char HIDDEN[] = "main window: hidden";

struct Row {
	Args args;
	DWORD code;
	std::vector<std::string> events;
	const char *state; // the main window's state afterwards
};

// In order on one main window, shown in its normal state at the start.
// The window-state commands are posted: client_events() waits until the
// client has worked them off, so the state is read after they took effect.
TEST(TwnWin, MainWindow)
{
	const Row rows[] = {
		{{}, 1, {}, "shown"},
		{{"ic"}, 0, {command("SC_MINIMIZE"), MINIMISED}, "minimised"},
		{{"no"}, 0, {command("SC_RESTORE"), SHOWN}, "shown"},
		{{"max"}, 0, {command("SC_MAXIMIZE"), MAXIMISED}, "maximised"},
		{{"NO"}, 0, {command("SC_RESTORE"), SHOWN}, "shown"},
		{{"hide"}, 0, {HIDDEN}, "hidden"},
		{{"show"}, 0, {SHOWN}, "shown"},
		{{"Icon"}, 0, {command("SC_MINIMIZE"), MINIMISED}, "minimised"},
		{{"normal"}, 0, {command("SC_RESTORE"), SHOWN}, "shown"},
		// Only the first argument counts.
		{{"maximum", "hide"}, 0, {command("SC_MAXIMIZE"), MAXIMISED},
		 "maximised"},
		{{"SHOWN"}, 0, {}, "maximised"},
		{{"hIdE"}, 0, {HIDDEN}, "hidden"},
		// Shown again, the window comes back as it was.
		{{"show"}, 0, {MAXIMISED}, "maximised"},
		// "nothing" begins with "no".
		{{"nothing"}, 0, {command("SC_RESTORE"), SHOWN}, "shown"},
		// Only the beginning of a keyword, or another word.
		{{"i"}, 1, {}, "shown"},
		{{"n"}, 1, {}, "shown"},
		{{"ma"}, 1, {}, "shown"},
		{{"hid"}, 1, {}, "shown"},
		{{"hidf"}, 1, {}, "shown"},
		{{"shoe"}, 1, {}, "shown"},
		{{"restore"}, 1, {}, "shown"},
		{{""}, 1, {}, "shown"},
	};
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	HWND main = FindWindowA("TiWren", NULL);
	for (const Row &r : rows) {
		expect_run("TwnWin", nullptr, &client, r.args, r.code, r.events);
		EXPECT_EQ(r.state, window_state(main))
			<< command_line("TwnWin", r.args);
	}
}

TEST(TwnWin, ClientNotRunning)
{
	for (const Args &args : {Args{}, Args{"ic"}, Args{"hide"}, Args{"nothing"},
	                         Args{""}})
		expect_run("TwnWin", nullptr, nullptr, args, args.empty() ? 1 : 2, {});
}
