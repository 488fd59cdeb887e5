#include <gtest/gtest.h>

#include "TwnDry.h"
#include "harness.h"

static const char USAGE[] =
	"Usage TwnTmpl [Template Name]\n"
	"  return value\n"
	"    0 : Normal\n"
	"    1 : Paramater Error\n"
	"    2 : Can't Find Ti-Wren\n";

static const char BOX[] = "template";

struct Row {
	Args args;
	DWORD code;
	std::vector<std::string> events;
	const char *selection; // "<index> <text>" of the template box afterwards
};

// In order on one template box; "Standard" is selected at the start.
TEST(TwnTmpl, TemplateBox)
{
	const Row rows[] = {
		{{}, 1, {}, "0 Standard"},
		{{"Weekly"}, 0,
		 {combo_asked(BOX, "Weekly"), combo_picked(BOX, "Weekly report")},
		 "1 Weekly report"},
		// Which entry a name picks is the combo box's own search: the
		// first that begins with it, in any case.
		{{"weekly s"}, 0,
		 {combo_asked(BOX, "weekly s"), combo_picked(BOX, "Weekly summary")},
		 "2 Weekly summary"},
		{{"Meeting notes"}, 0,
		 {combo_asked(BOX, "Meeting notes"),
		  combo_picked(BOX, "Meeting notes")},
		 "3 Meeting notes"},
		{{"No such template"}, 0, {combo_asked(BOX, "No such template")},
		 "3 Meeting notes"},
		{{" Thanks"}, 0, {combo_asked(BOX, " Thanks")}, "3 Meeting notes"},
		// Only the first argument is passed on.
		{{"Thanks", "Standard"}, 0,
		 {combo_asked(BOX, "Thanks"), combo_picked(BOX, "Thanks")},
		 "4 Thanks"},
		{{"Weekly", "summary"}, 0,
		 {combo_asked(BOX, "Weekly"), combo_picked(BOX, "Weekly report")},
		 "1 Weekly report"},
		// Bytes above 0x7F reach the client as they are.
		{{"R\xE9un"}, 0,
		 {combo_asked(BOX, "R\xE9un"), combo_picked(BOX, "R\xE9union")},
		 "5 R\xE9union"},
		{{"standard"}, 0,
		 {combo_asked(BOX, "standard"), combo_picked(BOX, "Standard")},
		 "0 Standard"},
		// An empty name is passed on too; what the box makes of it is its
		// own affair, so the first entry is selected already.
		{{""}, 0, {combo_asked(BOX, "")}, "0 Standard"},
	};
	Client client;
	ASSERT_TRUE(client_start(&client, {}));
	HWND box = GetDlgItem(FindWindowA("TiWren", NULL), DRY_TEMPLATE_BOX_ID);
	ASSERT_TRUE(box != NULL);
	for (const Row &r : rows) {
		expect_run("TwnTmpl", USAGE, &client, r.args, r.code, r.events);
		EXPECT_EQ(r.selection, combo_selection(box))
			<< command_line("TwnTmpl", r.args);
	}
}

TEST(TwnTmpl, NoTemplateBox)
{
	Client client;
	ASSERT_TRUE(client_start(&client, {"--no-template-box"}));
	expect_run("TwnTmpl", USAGE, &client, {}, 1, {});
	expect_run("TwnTmpl", USAGE, &client, {"Weekly"}, 0, {});
}

TEST(TwnTmpl, ClientNotRunning)
{
	for (const Args &args : {Args{}, Args{"Weekly"}, Args{""}})
		expect_run("TwnTmpl", USAGE, nullptr, args, args.empty() ? 1 : 2, {});
}
