#include <gtest/gtest.h>

#include "TwnDry.h"
#include "harness.h"

static const char USAGE[] =
	"Usage TiQCmd [send|pend(ing)|sig(nature) [Sig. Name]]\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find TiQuil\n";

static const char SEND[] = "send editor: send (WM_COMMAND 121)";
static const char PENDING[] = "send editor: pending (WM_COMMAND 106)";

static const char BOX[] = "signature";

struct Row {
	Args args;
	DWORD code;
	std::vector<std::string> events;
	const char *selection; // "<index> <text>" of the signature box afterwards
};

// In order on one send editor; "Private" is selected at the start.
TEST(TiQCmd, SendEditor)
{
	const Row rows[] = {
		{{}, 1, {}, "0 Private"},
		{{"send"}, 0, {SEND}, "0 Private"},
		{{"pend"}, 0, {PENDING}, "0 Private"},
		{{"SEND"}, 0, {SEND}, "0 Private"},
		{{"Pend"}, 0, {PENDING}, "0 Private"},
		{{"sending"}, 0, {SEND}, "0 Private"},
		{{"pending"}, 0, {PENDING}, "0 Private"},
		{{"send", "pend"}, 0, {SEND}, "0 Private"},
		{{"pend", "sig", "Office"}, 0, {PENDING}, "0 Private"},
		// Without a name there is nothing to select.
		{{"sig"}, 0, {}, "0 Private"},
		{{"sig", "Office"}, 0,
		 {combo_asked(BOX, "Office"), combo_picked(BOX, "Office")},
		 "1 Office"},
		{{"signature", "office s"}, 0,
		 {combo_asked(BOX, "office s"), combo_picked(BOX, "Office short")},
		 "2 Office short"},
		{{"SIG", "Nope"}, 0, {combo_asked(BOX, "Nope")}, "2 Office short"},
		{{"sig", "Club", "Private"}, 0,
		 {combo_asked(BOX, "Club"), combo_picked(BOX, "Club")}, "3 Club"},
		{{"sig", "private"}, 0,
		 {combo_asked(BOX, "private"), combo_picked(BOX, "Private")},
		 "0 Private"},
		// An empty name is passed on too; what the box makes of it is its
		// own affair, so the first entry is selected already.
		{{"sig", ""}, 0, {combo_asked(BOX, "")}, "0 Private"},
		// The beginning of a keyword, or no keyword at all.
		{{"sen"}, 1, {}, "0 Private"},
		{{"pen"}, 1, {}, "0 Private"},
		{{"si", "Office"}, 1, {}, "0 Private"},
		{{""}, 1, {}, "0 Private"},
		{{"Office", "sig"}, 1, {}, "0 Private"},
	};
	Client client;
	ASSERT_TRUE(client_start(&client, {"--editor"}));
	HWND box = GetDlgItem(FindWindowA("TIQuilEditor", NULL),
	                      DRY_SIGNATURE_BOX_ID);
	ASSERT_TRUE(box != NULL);
	for (const Row &r : rows) {
		expect_run("TiQCmd", USAGE, &client, r.args, r.code, r.events);
		EXPECT_EQ(r.selection, combo_selection(box))
			<< command_line("TiQCmd", r.args);
	}
}

TEST(TiQCmd, NoSignatureBox)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {"--editor-no-box"}));
	expect_run("TiQCmd", USAGE, &client, {"sig", "Office"}, 0, {});
	expect_run("TiQCmd", USAGE, &client, {"send"}, 0, {SEND});
}

// The mail client alone is no send editor.
TEST(TiQCmd, SendEditorNotRunning)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	for (const Args &args : {Args{}, Args{"send"}, Args{"sig", "Office"},
	                         Args{"nothing"}, Args{""}})
		expect_run("TiQCmd", USAGE, &client, args, args.empty() ? 1 : 2, {});
}
